#!/bin/sh
# Configures (once) and builds the project for 64-bit Windows in the given build folder.
# Usage: build.sh BUILD_DIR
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$1

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S "$source_dir" -B "$build_dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
fi
cmake --build "$build_dir"
