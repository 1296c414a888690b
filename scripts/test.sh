#!/bin/sh
# The whole test suite: builds everything, then runs every test under Wine with CTest (the release
# archive is made by the test that reads it) while, beside it, the parsers are fuzzed and the
# deliverables are built with a second compiler and in Microsoft's dialect.
# Usage: test.sh [LABEL]   with a label (installer, library, terminal, engines, window, headless, capture,
#                          forwarding, package, stress), only that area's tests under CTest.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir="$source_dir/build"
label=${1:-}
jobs=$(nproc)
# A stage beside CTest that runs longer than this is stopped, with everything it started, and fails.
side_stage_limit_seconds=1200

# Xvfb, xwininfo and ImageMagick: the terminal's screenshot on a virtual X screen.
# clang and its run-time: the fuzzers and the second compiler; nlohmann-json3-dev: the JSON parser
# the fuzzers read the terminal's JSON lines with.
# lld, llvm, LLVM's C++ library headers and Wine's SDK headers and import libraries: the build in
# Microsoft's dialect.
# rsyslog: the collector the headless terminal forwards to in its tests (run by them, never as a service).
"$source_dir/scripts/packages.sh" xvfb x11-utils imagemagick clang libclang-rt-14-dev nlohmann-json3-dev \
    lld llvm libc++-dev libwine-dev rsyslog
"$source_dir/scripts/build.sh" "$build_dir"

# The stages that need nothing of the tests run one after another beside CTest (all at once they
# would crowd out the timing of the tests on a small machine), each with its own log.
logs="$build_dir/stage-logs"
stages="fuzzing second-compiler microsoft-dialect"
run_side_stage() { # NAME COMMAND...
    name=$1
    shift
    timeout --kill-after=10 "$side_stage_limit_seconds" "$@" >"$logs/$name.log" 2>&1 &&
        echo 0 >"$logs/$name.status" || echo 1 >"$logs/$name.status"
}
side_pid=""
if [ -z "$label" ]; then
    mkdir -p "$logs"
    rm -f "$logs"/*.status
    echo "== Beside the tests, output in $logs/: fuzzing (a fixed number of inputs per target),"
    echo "   the second compiler, Microsoft's dialect"
    (
        run_side_stage fuzzing "$source_dir/fuzz/run-fuzzers.sh" 40000 "$source_dir/build-fuzz"
        run_side_stage second-compiler "$source_dir/scripts/check-clang-build.sh" "$source_dir/build-clang"
        run_side_stage microsoft-dialect "$source_dir/scripts/check-msvc-dialect.sh" "$build_dir" \
            "$source_dir/build-msvc-dialect"
    ) &
    side_pid=$!
fi

echo "== Tests under Wine${label:+ (label $label)}"
status=0
(
    export WINEPREFIX="$build_dir/wineprefix" WINEDEBUG=-all
    . "$source_dir/cmake/wine-test-bed.sh"
    trap 'wine_servers_stopped "$WINEPREFIX"' EXIT
    cd "$build_dir"
    ctest --output-on-failure -j"$jobs" ${label:+-L "^$label\$"}
) || status=$?

if [ -n "$side_pid" ]; then
    wait "$side_pid"
    for name in $stages; do
        if [ "$(cat "$logs/$name.status" 2>/dev/null)" = 0 ]; then
            echo "== $name: passed"
        else
            echo "== $name: FAILED or not run; the end of $logs/$name.log:"
            tail -n 30 "$logs/$name.log" 2>/dev/null || true
            status=1
        fi
    done
fi
exit "$status"
