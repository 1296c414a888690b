#!/bin/sh
# A host built in Microsoft's dialect (clang-cl and lld-link with cmake/clang-msvc-x86_64.cmake,
# which CMake takes for an MSVC compiler) against an installed release: the package must give it
# VORNAKDBG32.lib, though libVORNAKDBG32.dll.a lies beside it, and the host must run (run-host.sh).
# Skipped (77) where clang-cl, lld-link or Wine's SDK headers are not installed.
# Usage: run-msvc-host.sh PREFIX HOST_PROJECT WORK_DIR WINE_RUN SOURCE_DIR
set -eu
prefix=$1 project=$2 work=$3 run=$4 source_dir=$5

if ! ls /usr/lib/llvm-*/bin/clang-cl /usr/lib/llvm-*/bin/lld-link >/dev/null 2>&1 ||
    [ ! -f /usr/include/wine/wine/windows/windows.h ]; then
    echo "SKIPPED: clang-cl, lld-link or Wine's SDK headers missing (the test command installs them)"
    exit 77
fi
mkdir -p "$work"
sh "$source_dir/cmake/msvc-dialect/make-runtime.sh" "$work/runtime"
exec sh "$(dirname "$0")/run-host.sh" "$prefix" "$project" "$work" "$run" VORNAKDBG32.lib \
    -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/clang-msvc-x86_64.cmake" -DVORNAK_MSVC_RUNTIME_DIR="$work/runtime"
