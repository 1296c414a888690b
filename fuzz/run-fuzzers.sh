#!/bin/sh
# Builds the native fuzzers and runs each for a fixed number of inputs, starting from its seed
# corpus. Exits non-zero on the first finding; the input that found it is kept in
# <build-dir>/findings/. Usage: run-fuzzers.sh [runs-per-target] [build-dir]
set -eu
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
runs=${1:-40000}
build_dir=${2:-"$fuzz_dir/../build-fuzz"}
targets="fuzz_error_text fuzz_inf_path fuzz_line_compose"

compiler=clang++-14
command -v "$compiler" >/dev/null 2>&1 || compiler=clang++

cmake -S "$fuzz_dir" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$build_dir" -j2 >/dev/null

mkdir -p "$build_dir/findings"
passed=0
for target in $targets; do
    # New inputs go to a fresh folder in the build tree: the committed seeds are only read, and
    # a fixed seed makes the run the same every time.
    scratch="$build_dir/corpus/$target"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    log="$build_dir/$target.log"
    if ! "$build_dir/$target" -runs="$runs" -seed=1 -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$build_dir/findings/$target-" "$scratch" "$fuzz_dir/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: finding, the input is kept in $build_dir/findings/ (log: $log)"
        echo "fuzzers: $passed passed, 1 failed"
        exit 1
    fi
    # "Done 20000 runs in 4 second(s)" and the final coverage line.
    summary=$(grep -E '^Done [0-9]+ runs' "$log" || true)
    coverage=$(grep -E '#[0-9]+[[:space:]]+DONE' "$log" | sed -e 's/.*DONE *//' -e 's/ lim:.*//' || true)
    echo "$target: $summary; $coverage"
    passed=$((passed + 1))
done
echo "fuzzers: $passed passed, 0 failed"
