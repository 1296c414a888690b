#!/bin/sh
# Configures and builds a host project against an installed release, as a host developer would,
# then runs it under Wine against the release's own terminal in headless mode: the README's
# lines must arrive. The host must link the import library named.
# Usage: run-host.sh PREFIX HOST_PROJECT WORK_DIR TOOLCHAIN_FILE WINE_RUN IMPORT_LIBRARY
#   IMPORT_LIBRARY  libVORNAKDBG32.dll.a, or VORNAKDBG32.lib: then the host is given a copy of the
#                   release without the MinGW one, and the package must fall back to Microsoft's
set -eu
prefix=$1 project=$2 work=$3 toolchain=$4 run=$5 import_library=$6
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work"
mkdir -p "$work"
if [ "$import_library" = VORNAKDBG32.lib ]; then
    cp -R "$prefix" "$work/prefix"
    rm "$work/prefix/lib/libVORNAKDBG32.dll.a"
    prefix="$work/prefix"
fi

# -static: a MinGW-w64 program otherwise needs the toolchain's own DLLs, which Windows lacks.
cmake -S "$project" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_EXE_LINKER_FLAGS=-static ||
    fail "the host project does not configure against $prefix"
cmake --build "$work/build" -v > "$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "the host project does not build"; }
grep -q "$prefix/lib/$import_library" "$work/build.log" || fail "the host was not linked with $prefix/lib/$import_library"
[ -f "$work/build/VORNAKDBG32.dll" ] || fail "VORNAKDBG32.dll was not placed beside the host"

terminal="$prefix/bin/vornak-terminal.exe"
lines="$work/lines.txt"
"$run" "$terminal" --headless --output "Z:$lines" </dev/null >/dev/null 2>&1 &
terminal_pid=$!
trap '"$run" "$terminal" --stop --timeout 30 >/dev/null 2>&1 || true' EXIT
"$run" "$terminal" --wait --timeout 60 || fail "the release's terminal did not start"
status=0
"$run" "$work/build/vornak-host.exe" || status=$?
"$run" "$terminal" --stop --timeout 30 || fail "the release's terminal did not stop"
wait "$terminal_pid" || true
trap - EXIT
[ "$status" -eq 0 ] || fail "the host exited with status $status"

# Each line without its time of arrival.
received=$(tr -d '\r' < "$lines" | cut -d' ' -f2-)
expected='clear     terminal cleared
debug     Scanner : count=5
log       Scanner : scan of eth0 started
statistic Scanner : 1200 packets, 3 dropped
error     Scanner : open failed with error 2
separator ======================================================================'
if [ "$received" != "$expected" ]; then
    fail "the terminal received:
$received
expected:
$expected"
fi
echo "the host built against $prefix with $import_library sent every line"
