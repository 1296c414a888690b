#!/bin/sh
# Reads a Microsoft-style import library (VORNAKDBG32.lib) member by member: each of the library's
# exports must be there once, in the short import format Microsoft's lib.exe writes, for x64,
# imported by name from VORNAKDBG32.dll with the export's ordinal as its hint, and nothing else.
# Usage: check-import-library.sh LIB EXPECTED_EXPORTS (lines "ordinal name")
set -eu
lib=$1
expected=$(LC_ALL=C sort -n "$2")
fail() { echo "FAIL: $lib: $*" >&2; exit 1; }

[ -f "$lib" ] || fail "missing"
[ "$(head -c 8 "$lib")" = '!<arch>' ] || fail "not an archive"

# A short import member: 0x0000, 0xFFFF, version 0, machine 0x8664 (x64), time stamp, size of
# the data, ordinal or hint, type word (bits 0-1 the kind, bits 2-4 the name type), then the
# symbol's name and the DLL's name, each ending in a zero byte.
members=$(od -A n -v -t u1 "$lib" | tr -s ' ' '\n' | sed '/^$/d' | awk '
    { byte[NR - 1] = $1 }
    END {
        for (i = 0; i + 20 < NR; i++) {
            if (byte[i] != 0 || byte[i + 1] != 0 || byte[i + 2] != 255 || byte[i + 3] != 255 ||
                byte[i + 4] != 0 || byte[i + 5] != 0 || byte[i + 6] != 100 || byte[i + 7] != 134)
                continue
            hint = byte[i + 16] + 256 * byte[i + 17]
            type = byte[i + 18] + 256 * byte[i + 19]
            j = i + 20
            name = ""; while (j < NR && byte[j] != 0) name = name sprintf("%c", byte[j++])
            j++
            dll = ""; while (j < NR && byte[j] != 0) dll = dll sprintf("%c", byte[j++])
            kind = type % 4
            name_type = int(type / 4) % 8
            printf "%d %s %s %s %s\n", hint, name, dll, (kind == 0 ? "code" : "kind" kind),
                   (name_type == 1 ? "by-name" : "name-type" name_type)
        }
    }' | LC_ALL=C sort -n)

[ -n "$members" ] || fail "no member in Microsoft's short import format (made by a dlltool that writes the long one?)"
# Every member imports code by its plain name from VORNAKDBG32.dll.
odd=$(echo "$members" | awk '$3 != "VORNAKDBG32.dll" || $4 != "code" || $5 != "by-name"')
[ -z "$odd" ] || fail "members not importing code by name from VORNAKDBG32.dll: $odd"
found=$(echo "$members" | cut -d' ' -f1-2)
if [ "$found" != "$expected" ]; then
    fail "imports differ from the library's exports:
found:
$found
expected:
$expected"
fi
echo "$lib: $(echo "$found" | wc -l) imports from VORNAKDBG32.dll, with the exports' ordinals:"
echo "$found"
