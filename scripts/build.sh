#!/bin/sh
# Configures (once) and builds the project for 64-bit Windows in the given build folder: the
# targets named, or everything.
# Usage: build.sh BUILD_DIR [TARGET...]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1
shift

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
fi
if [ $# -gt 0 ]; then
    cmake --build "$build_dir" --target "$@"
else
    cmake --build "$build_dir"
fi
