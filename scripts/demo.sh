#!/bin/sh
# The main job: builds everything, prepares the Wine prefix with the simulated network
# configuration service, and shows the installer at work.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"

"$source_dir/scripts/packages.sh"
"$source_dir/scripts/build.sh" "$build_dir"

export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all
run="$build_dir/wine-run"
bin="$build_dir/bin"
trap 'wineserver -k 2>/dev/null || true' EXIT

echo
echo "== VrkQuelmor /Install"
"$run" "$bin/VrkQuelmor.exe" /Install | tr -d '\r'
echo
echo "== VrkQuelmor /Uninstall"
"$run" "$bin/VrkQuelmor.exe" /Uninstall | tr -d '\r'
echo
echo "== VrkQuelmor /Uninstall (nothing left to remove)"
"$run" "$bin/VrkQuelmor.exe" /Uninstall | tr -d '\r'
echo
