#!/bin/sh
# Checks that a PE file is 64-bit, of the given subsystem (console, gui or dll), and imports only
# DLLs that ship with Windows.
# Usage: check-pe-imports.sh FILE console|gui|dll
set -eu
file=$1
kind=$2
dump=$(x86_64-w64-mingw32-objdump -p "$file")
fail() { echo "$file: $*" >&2; exit 1; }

echo "$dump" | grep -q 'Magic[[:space:]]*020b' || fail "not a 64-bit (PE32+) image"
case $kind in
    console) echo "$dump" | grep -q 'Subsystem[[:space:]]*00000003' || fail "not a console program" ;;
    gui) echo "$dump" | grep -q 'Subsystem[[:space:]]*00000002' || fail "not a GUI program" ;;
    dll) echo "$dump" | grep -q 'DLL' || fail "not a DLL" ;;
esac
# ucrtbase.dll, the Universal C Runtime, is part of every Windows 10 and 11.
system='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|setupapi|msvcrt|ucrtbase|shell32|comctl32|comdlg32|version|ws2_32|api-ms-win-.*)\.dll$'
bad=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | grep -Ev "$system" || true)
[ -z "$bad" ] || fail "imports non-system DLLs: $bad"
echo "$file: 64-bit $kind image importing only system DLLs"
