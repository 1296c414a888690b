#!/bin/sh
# What find_package(VornakDbg32) must refuse, with the reason a developer needs: another major
# version, a newer minor one, a build that is not for Windows and, where clang-cl can show it, a
# 32-bit one; and what it must accept.
# Usage: check-package-refusals.sh PREFIX WORK_DIR TOOLCHAIN_FILE SOURCE_DIR
set -eu
prefix=$1 work=$2 toolchain=$3 source_dir=$4
project="$(dirname "$0")/version-request"
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work"

# configure NAME REQUESTED [CMAKE_ARGUMENT...]: the output, and the status in $status
configure() {
    name=$1 requested=$2
    shift 2
    status=0
    output=$(cmake -S "$project" -B "$work/$name" -DCMAKE_PREFIX_PATH="$prefix" -DVORNAK_REQUESTED="$requested" "$@" 2>&1) ||
        status=$?
}

configure windows-1.0 1.0 -DCMAKE_TOOLCHAIN_FILE="$toolchain"
[ "$status" -eq 0 ] || fail "1.0 for Windows refused: $output"
configure windows-any "" -DCMAKE_TOOLCHAIN_FILE="$toolchain"
[ "$status" -eq 0 ] || fail "no version for Windows refused: $output"

configure windows-2.0 2.0 -DCMAKE_TOOLCHAIN_FILE="$toolchain"
[ "$status" -ne 0 ] || fail "2.0 accepted from a 1.x release"
echo "$output" | grep -q 'compatible with requested version "2.0"' || fail "2.0 refused without the reason: $output"
configure windows-1.1 1.1 -DCMAKE_TOOLCHAIN_FILE="$toolchain"
[ "$status" -ne 0 ] || fail "1.1 accepted from a 1.0.0 release"
configure windows-0.9 0.9 -DCMAKE_TOOLCHAIN_FILE="$toolchain"
[ "$status" -ne 0 ] || fail "0.9 accepted from a 1.x release"

# The build machine's own compiler: not Windows.
configure native 1.0
[ "$status" -ne 0 ] || fail "a build that is not for Windows accepted"
echo "$output" | grep -q 'library for 64-bit Windows' || fail "a build not for Windows refused without the reason: $output"
refused="2.0, 1.1, 0.9 and builds not for Windows"

# A 32-bit build for Windows: clang-cl for 32-bit Windows, which the test command installs.
if ls /usr/lib/llvm-*/bin/clang-cl >/dev/null 2>&1 && [ -f /usr/include/wine/wine/windows/windows.h ]; then
    configure windows-32-bit 1.0 -DVORNAK_LANGUAGES=C -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/clang-msvc-x86_64.cmake" \
        -DVORNAK_MSVC_TARGET=i686-pc-windows-msvc -DVORNAK_MSVC_RUNTIME_DIR="$work/no-runtime"
    [ "$status" -ne 0 ] || fail "a 32-bit build accepted"
    echo "$output" | grep -q 'version: 1.0.0 (64bit)' || fail "a 32-bit build refused without the reason: $output"
    refused="$refused, 32-bit builds"
else
    echo "no clang-cl: the 32-bit build is not tried"
fi
echo "find_package(VornakDbg32) accepts 1.0 and no version for Windows, refuses $refused"
