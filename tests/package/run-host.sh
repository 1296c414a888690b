#!/bin/sh
# Configures and builds a host project against an installed release, as a host developer would,
# then runs it under Wine against the release's own terminal in headless mode: the README's
# lines must arrive. The host must link the import library named.
# Usage: run-host.sh [--without-mingw-import-library] PREFIX HOST_PROJECT WORK_DIR WINE_RUN
#                    IMPORT_LIBRARY CMAKE_ARGUMENT...
#   --without-mingw-import-library  the host is given a copy of the release without
#                                   libVORNAKDBG32.dll.a
#   IMPORT_LIBRARY                  libVORNAKDBG32.dll.a or VORNAKDBG32.lib
#   CMAKE_ARGUMENT                  the toolchain file and what it needs
set -eu
without_mingw_import_library=no
if [ "$1" = --without-mingw-import-library ]; then
    without_mingw_import_library=yes
    shift
fi
prefix=$1 project=$2 work=$3 run=$4 import_library=$5
shift 5
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$work/build" "$work/prefix" "$work/lines.txt"
mkdir -p "$work"
if [ "$without_mingw_import_library" = yes ]; then
    cp -R "$prefix" "$work/prefix"
    rm "$work/prefix/lib/libVORNAKDBG32.dll.a"
    prefix="$work/prefix"
fi

cmake -S "$project" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" "$@" \
    >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log" >&2; fail "the host project does not configure against $prefix"; }
cmake --build "$work/build" -v >"$work/build.log" 2>&1 || { cat "$work/build.log" >&2; fail "the host project does not build"; }
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
