#!/bin/sh
# Compiles format_check_host.c against the public header, as C and as C++, with format warnings
# as errors: as it stands it must compile cleanly, and with MISMATCHED defined its mismatched calls
# must each draw a format error, on as many lines as given (GCC checks all five; clang does not
# check calls through a function pointer, so four). So the header's format annotation is shown to
# work, and not to warn about correct calls.
# Usage: check-format-warnings.sh HEADER-DIR MISMATCHED-LINES COMPILER [COMPILER-FLAGS...]
# Exits 77 (skipped) when the compiler is not installed.
set -eu
header_dir=$1
mismatched=$2
compiler=$3
shift 3
command -v "$compiler" >/dev/null 2>&1 || { echo "$compiler: not installed, skipped"; exit 77; }
source=$(cd "$(dirname "$0")" && pwd)/format_check_host.c
output=$(mktemp)
trap 'rm -f "$output"' EXIT

for language in c c++; do
    if ! "$compiler" "$@" -x "$language" -fsyntax-only -Wall -Wformat -Werror=format -I"$header_dir" \
        "$source" >"$output" 2>&1; then
        cat "$output" >&2
        echo "$compiler ($language): matching values drew a diagnostic" >&2
        exit 1
    fi
    if "$compiler" "$@" -x "$language" -fsyntax-only -Wall -Wformat -Werror=format -I"$header_dir" \
        -DMISMATCHED "$source" >"$output" 2>&1; then
        echo "$compiler ($language): mismatched values compiled without a format error" >&2
        exit 1
    fi
    # One error per mismatched call, each on its own line of the source.
    lines=$(grep -E 'error:.*format' "$output" | sed -n 's/^[^:]*:\([0-9]*\):.*/\1/p' | sort -u | wc -l)
    if [ "$lines" -ne "$mismatched" ]; then
        cat "$output" >&2
        echo "$compiler ($language): format errors on $lines lines, not $mismatched" >&2
        exit 1
    fi
done
echo "$compiler: matching calls compile cleanly; $mismatched mismatched calls are format errors, in C and C++"
