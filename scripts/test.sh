#!/bin/sh
# The whole test suite: builds everything and the release archive, fuzzes the pure text and path
# code, builds the deliverables with a second compiler and in Microsoft's dialect, and runs every
# test under Wine.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"

# Xvfb, xwininfo and ImageMagick: the terminal's screenshot on a virtual X screen.
# clang and its run-time: the fuzzers and the second compiler; nlohmann-json3-dev: the JSON parser
# the fuzzers read the terminal's JSON lines with.
# lld, llvm, LLVM's C++ library headers and Wine's SDK headers and import libraries: the build in
# Microsoft's dialect.
# rsyslog: the collector the headless terminal forwards to in its tests (run by them, never as a service).
"$source_dir/scripts/packages.sh" xvfb x11-utils imagemagick clang libclang-rt-14-dev nlohmann-json3-dev \
    lld llvm libc++-dev libwine-dev rsyslog
"$source_dir/scripts/build.sh" "$build_dir"
echo "== The release archive"
cmake --build "$build_dir" --target package

echo "== Fuzzing (a fixed number of inputs per target)"
"$source_dir/fuzz/run-fuzzers.sh" 40000 "$source_dir/build-fuzz"
echo "== Second compiler"
"$source_dir/scripts/check-clang-build.sh" "$source_dir/build-clang"
echo "== Microsoft's dialect"
"$source_dir/scripts/check-msvc-dialect.sh" "$build_dir" "$source_dir/build-msvc-dialect"

echo "== Tests under Wine"
export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true' EXIT
cd "$build_dir"
ctest --output-on-failure -j2
