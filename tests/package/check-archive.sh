#!/bin/sh
# Checks the release archive the test command makes: its checksum file, its file list (one top
# folder named as the archive, holding exactly a release's files), and that its programs,
# stripped of debugging information, are still whole.
# Usage: check-archive.sh RELEASE_DIR NAME SOURCE_DIR BUILT_BIN_DIR WORK_DIR WINE_RUN
set -eu
release_dir=$1 name=$2 source_dir=$3 built=$4 work=$5 run=$6
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -d "$release_dir" ] || fail "no folder $release_dir"
release_dir=$(cd "$release_dir" && pwd)
archive="$release_dir/$name.zip"
remake="make it with: cmake --build $(dirname "$built") --target package"

[ -f "$archive" ] || fail "no archive $archive; $remake"
for program in VORNAKDBG32.dll VrkQuelmor.exe vornak-send.exe vornak-terminal.exe vornak-terminal.com; do
    [ "$built/$program" -nt "$archive" ] && fail "$archive is older than $built/$program; $remake"
done

[ -f "$release_dir/SHA256SUMS" ] || fail "no SHA256SUMS beside $archive"
grep -q "^[0-9a-f]\{64\}  $name.zip\$" "$release_dir/SHA256SUMS" || fail "SHA256SUMS has no line for $name.zip"
(cd "$release_dir" && sha256sum --quiet -c SHA256SUMS) || fail "the archive does not match SHA256SUMS"

rm -rf "$work"
mkdir -p "$work"
(cd "$work" && cmake -E tar xf "$archive") || fail "$archive does not unpack"
top=$(ls -A "$work")
[ "$top" = "$name" ] || fail "the archive's top level holds '$top', not the one folder $name"
sh "$source_dir/tests/package/check-release-tree.sh" "$work/$name"

bin="$work/$name/bin"
for program in VORNAKDBG32.dll VrkQuelmor.exe vornak-send.exe vornak-terminal.exe vornak-terminal.com; do
    if x86_64-w64-mingw32-objdump -h "$bin/$program" | grep -q '\.debug_'; then
        fail "$program in the archive carries debugging information"
    fi
done
sh "$source_dir/tests/dbgclient/check-dll-exports.sh" "$bin/VORNAKDBG32.dll"
"$run" "$bin/vornak-terminal.com" --help >/dev/null || fail "the archive's vornak-terminal.com --help failed"
"$run" "$bin/vornak-send.exe" --help >/dev/null || fail "the archive's vornak-send.exe --help failed"
echo "$archive: $(wc -c < "$archive") bytes, matches SHA256SUMS, holds a whole release"
