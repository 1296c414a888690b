#!/bin/sh
# Usage: benchmarks/run-benchmark.sh BUILD-DIR [OTHER-DLL]
# Builds vornak-bench in a configured build tree (tests on, cross-compiled for Windows), runs it
# under that tree's Wine prefix and prints its table after a note of the machine. About 2 minutes.
# OTHER-DLL, another build's VORNAKDBG32.dll (a copy kept from before a change), adds this
# library against that one, line by line.
set -eu
if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -x "$1/wine-run" ] || { [ $# -eq 2 ] && [ ! -f "$2" ]; }; then
    echo "usage: $0 BUILD-DIR [OTHER-DLL]   (a build tree configured with the MinGW toolchain file; it has wine-run)" >&2
    exit 64
fi
build=$(cd "$1" && pwd)
other=""
if [ $# -eq 2 ]; then
    # The Windows program reads the path through the prefix's Z: drive, which maps /.
    other="Z:$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
    other=$(echo "$other" | tr / '\\')
fi
cmake --build "$build" --target vornak-bench >/dev/null

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(wine --version 2>/dev/null)"
echo "Load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo
status=0
if [ -n "$other" ]; then
    "$build/wine-run" "$build/bin/vornak-bench.exe" "$other" || status=$?
else
    "$build/wine-run" "$build/bin/vornak-bench.exe" || status=$?
fi
echo
echo "Load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
