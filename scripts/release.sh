#!/bin/sh
# Makes a release: from a clean tree only, runs the README's whole test command (which builds
# everything in build/, runs every test and makes the archive), then delivers the archive and its
# SHA256SUMS into out/ and checks them there.
#
# A tree with changes not committed is refused, so that every release is made of one commit and
# can be made again from it; the commit is printed with the result.
# Usage: release.sh
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"
out_dir="$source_dir/out"
cd "$source_dir"

git rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
    { echo "release.sh: $source_dir is not a git checkout: cannot tell that the tree is clean" >&2; exit 1; }
changes=$(git status --porcelain --untracked-files=normal)
if [ -n "$changes" ]; then
    echo "release.sh: the tree has changes not committed; commit or stash them first:" >&2
    echo "$changes" >&2
    exit 1
fi
commit=$(git rev-parse HEAD)

sh "$source_dir/scripts/test.sh"

# The archive's name and folder, as CPack was configured.
cpack_value() { sed -n "s/^set($1 \"\\(.*\\)\")$/\\1/p" "$build_dir/CPackConfig.cmake"; }
name=$(cpack_value CPACK_PACKAGE_FILE_NAME)
made_in=$(cpack_value CPACK_PACKAGE_DIRECTORY)
mkdir -p "$out_dir"
cp "$made_in/$name.zip" "$made_in/SHA256SUMS" "$out_dir/"
(cd "$out_dir" && sha256sum -c SHA256SUMS)
echo
echo "Release of commit $commit:"
echo "  $out_dir/$name.zip ($(wc -c < "$out_dir/$name.zip") bytes)"
echo "  $out_dir/SHA256SUMS"
