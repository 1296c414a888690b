#!/bin/sh
# The whole test suite: builds everything and runs every test under Wine.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"

# Xvfb, xwininfo and ImageMagick: the terminal's screenshot on a virtual X screen.
"$source_dir/scripts/packages.sh" xvfb x11-utils imagemagick
"$source_dir/scripts/build.sh" "$build_dir"

export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$build_dir"
ctest --output-on-failure -j2
