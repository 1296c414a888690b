#!/bin/sh
# Lists a release tree (an installed prefix or the unpacked archive) against the files a release
# must hold, no more and no fewer: a missing file, a test program or a stray file fails.
# Usage: check-release-tree.sh TREE
set -eu
tree=$1

expected='bin/VORNAKDBG32.dll
bin/VrkQuelmor.exe
bin/vornak-send.exe
bin/vornak-terminal.com
bin/vornak-terminal.exe
bin/vrkprot6.inf
include/vornak_terminal_protocol.h
include/vornakdbg32.h
lib/VORNAKDBG32.lib
lib/cmake/VornakDbg32/VornakDbg32Config.cmake
lib/cmake/VornakDbg32/VornakDbg32ConfigVersion.cmake
lib/libVORNAKDBG32.dll.a
share/doc/vornak/README.md
share/doc/vornak/docs/STYLE.md
share/doc/vornak/docs/terminal-dark.png
share/doc/vornak/docs/terminal-menu.png
share/doc/vornak/docs/terminal-rules.png
share/doc/vornak/docs/terminal.png'
expected=$(echo "$expected" | LC_ALL=C sort)

[ -d "$tree" ] || { echo "FAIL: no release tree at $tree" >&2; exit 1; }
found=$(cd "$tree" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
    echo "FAIL: $tree does not hold the release's files" >&2
    echo "$expected" > "$tree.expected"
    echo "$found" > "$tree.found"
    diff "$tree.expected" "$tree.found" | sed -n 's/^</  missing:/p; s/^>/  unexpected:/p' >&2
    exit 1
fi
# Nothing empty: a file cut short by a failed copy is as bad as a missing one.
empty=$(cd "$tree" && find . -type f -empty | sed 's|^\./||')
[ -z "$empty" ] || { echo "FAIL: empty files in $tree: $empty" >&2; exit 1; }
echo "$tree holds the $(echo "$expected" | wc -l) files of a release"
