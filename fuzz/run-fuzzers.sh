#!/bin/sh
# Builds the native fuzzers and runs each for a fixed number of inputs, starting from its seed
# corpus. Exits non-zero on the first finding; the input that found it is kept in
# <build-dir>/findings/. Usage: run-fuzzers.sh [runs-per-target] [build-dir]
set -eu
fuzz_dir=$(cd "$(dirname "$0")" && pwd)
runs=${1:-40000}
build_dir=${2:-"$fuzz_dir/../build-fuzz"}
# Each target with the share of the runs it takes (in tenths) and the longest input it is given.
# The pattern fuzzers cost the most an input (a pattern's automaton built as lines meet it, the
# C++ library's backtracking engine beside it); the log reader's inputs reach past the reader's
# longest line (4096 bytes) and the next.
targets="fuzz_error_text:10:4096 fuzz_inf_path:10:4096 fuzz_line_compose:10:4096
fuzz_text_pattern:2:4096 fuzz_pattern_vs_std_regex:5:64 fuzz_rule_file:10:4096 fuzz_log_reader:10:9000
fuzz_syslog_destination:10:4096 fuzz_command_lines:10:4096 fuzz_json_line:10:4096 fuzz_syslog_message:10:4096
fuzz_debug_output:10:4200"

compiler=clang++-14
command -v "$compiler" >/dev/null 2>&1 || compiler=clang++

cmake -S "$fuzz_dir" -B "$build_dir" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$build_dir" -j2 >/dev/null

mkdir -p "$build_dir/findings"
passed=0
for entry in $targets; do
    target=${entry%%:*}
    rest=${entry#*:}
    share=${rest%%:*}
    max_len=${rest#*:}
    target_runs=$((runs * share / 10))
    # New inputs go to a fresh folder in the build tree: the committed seeds are only read, and
    # a fixed seed makes the run the same every time.
    scratch="$build_dir/corpus/$target"
    rm -rf "$scratch"
    mkdir -p "$scratch"
    log="$build_dir/$target.log"
    if ! "$build_dir/$target" -runs="$target_runs" -seed=1 -max_len="$max_len" -print_final_stats=1 \
        -artifact_prefix="$build_dir/findings/$target-" "$scratch" "$fuzz_dir/corpus/$target" >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "$target: finding, the input is kept in $build_dir/findings/ (log: $log)"
        echo "fuzzers: $passed passed, 1 failed"
        exit 1
    fi
    # "Done 20000 runs in 4 second(s)", the final coverage line, and what a target reports of its
    # own (the pattern fuzzer: the most steps per byte a match took).
    summary=$(grep -E '^Done [0-9]+ runs' "$log" || true)
    coverage=$(grep -E '#[0-9]+[[:space:]]+DONE' "$log" | sed -e 's/.*DONE *//' -e 's/ lim:.*//' || true)
    echo "$target: $summary; $coverage"
    grep -E "^$target: " "$log" | sed 's/^/    /' || true
    passed=$((passed + 1))
done
echo "fuzzers: $passed passed, 0 failed"
