#!/bin/sh
# Usage: benchmarks/run-benchmark.sh BUILD-DIR
# Builds vornak-bench in a configured build tree (tests on, cross-compiled for Windows), runs it
# under that tree's Wine prefix and prints its table after a note of the machine. About 2 minutes.
set -eu
if [ $# -ne 1 ] || [ ! -x "$1/wine-run" ]; then
    echo "usage: $0 BUILD-DIR   (a build tree configured with the MinGW toolchain file; it has wine-run)" >&2
    exit 64
fi
build=$(cd "$1" && pwd)
cmake --build "$build" --target vornak-bench >/dev/null

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(wine --version 2>/dev/null)"
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
status=0
"$build/wine-run" "$build/bin/vornak-bench.exe" || status=$?
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
