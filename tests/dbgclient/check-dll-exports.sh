#!/bin/sh
# Checks VORNAKDBG32.dll as a PE file: a 64-bit DLL exporting exactly the seven functions at
# ordinals 2 to 8, carrying no resources, and importing only DLLs that ship with Windows: from
# ucrtbase.dll (the Universal C Runtime) exactly its formatter, the thread's invalid-parameter
# handler and the locale functions the formatter's wide values need, nothing else.
# Usage: check-dll-exports.sh DLL
set -eu
file=$1
dump=$(x86_64-w64-mingw32-objdump -p "$file")
fail() { echo "$file: $*" >&2; exit 1; }

echo "$dump" | grep -q 'Magic[[:space:]]*020b' || fail "not a 64-bit (PE32+) image"
echo "$dump" | grep -q 'Ordinal Base[[:space:]]*2$' || fail "ordinal base is not 2"

# The name table lists indexes from the ordinal base; turned into "ordinal name" lines.
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*\([0-9]*\)\][[:space:]]*\([^[:space:]]*\)$/\1 \2/p' |
    while read -r index name; do echo "$((index + 2)) $name"; done | sort -n)
# "ordinal name" a line, as the library must export them.
expected=$(cat "$(dirname "$0")/expected-exports.txt")
[ "$exports" = "$expected" ] || fail "exports differ: $(echo "$exports" | tr '\n' ',')"
addresses=$(echo "$dump" | sed -n '/^Export Address Table -- Ordinal Base/,/^$/p' | grep -c 'Export RVA' || true)
[ "$addresses" -eq 7 ] || fail "$addresses entries in the export address table, not 7"

resources=$(echo "$dump" | sed -n 's/^Entry 2 \([0-9a-f]*\) \([0-9a-f]*\) Resource Directory.*/\2/p')
[ "$resources" = "00000000" ] || fail "carries resources"

system='^(kernel32|user32|msvcrt|ucrtbase|api-ms-win-crt-.*)\.dll$'
bad=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | grep -Ev "$system" || true)
[ -z "$bad" ] || fail "imports other DLLs: $bad"

# The import table lists each DLL's functions as "address hint name" lines after its "DLL Name:" line.
ucrt=$(echo "$dump" | awk '/^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    dll == "ucrtbase.dll" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print $3 }' | sort)
expected_ucrt='___lc_codepage_func
__stdio_common_vsprintf
_create_locale
_free_locale
_set_thread_local_invalid_parameter_handler'
[ "$ucrt" = "$expected_ucrt" ] || fail "imports from ucrtbase.dll: $(echo "$ucrt" | tr '\n' ' ')"
echo "$file: seven exports at ordinals 2 to 8, no resources, system imports only (ucrtbase.dll: its formatter and locales)"
