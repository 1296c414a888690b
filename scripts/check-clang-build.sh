#!/bin/sh
# Builds both deliverables with clang as a second compiler (warnings are errors), checks that they
# import only system DLLs, and that they start under Wine.
# Usage: check-clang-build.sh BUILD_DIR
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
clang_dir=$(mkdir -p "$1" && cd "$1" && pwd)

cmake -S "$source_dir" -B "$clang_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/clang-mingw-w64-x86_64.cmake" -DVORNAK_BUILD_TESTS=OFF >/dev/null
cmake --build "$clang_dir" -j2 --target VrkQuelmor VORNAKDBG32
"$source_dir/tests/installer/check-pe-imports.sh" "$clang_dir/bin/VrkQuelmor.exe" console
"$source_dir/tests/dbgclient/check-dll-exports.sh" "$clang_dir/bin/VORNAKDBG32.dll"

export WINEPREFIX="$clang_dir/wineprefix"
. "$source_dir/cmake/wine-test-bed.sh"
wine_prefix_ready
trap 'wineserver -k 2>/dev/null || true' EXIT
wine_services_started

# Without a command the installer prints nothing and ends with status 0.
output=$(wine "$clang_dir/bin/VrkQuelmor.exe" </dev/null)
[ -z "$output" ] || { echo "clang-built VrkQuelmor.exe printed: $output" >&2; exit 1; }
# regsvr32 ends with 4 when the library loaded but has no DllRegisterServer, 3 when it did not load.
status=0
wine regsvr32 /s "$clang_dir/bin/VORNAKDBG32.dll" </dev/null || status=$?
[ "$status" = 4 ] || { echo "clang-built VORNAKDBG32.dll did not load (regsvr32 status $status)" >&2; exit 1; }
echo "clang build: VrkQuelmor.exe and VORNAKDBG32.dll build without warnings and start"
