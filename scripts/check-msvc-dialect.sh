#!/bin/sh
# Builds the project in Microsoft's dialect (cmake/clang-msvc-x86_64.cmake: clang-cl with
# _MSC_VER 1920, Wine's SDK headers, the project's MSVC settings, /W4 /WX) and checks:
#  1. every source of the deliverables, the terminal and the tools compiles to an object without
#     a warning (the C++ library headers there are LLVM's, not Microsoft's); the list of sources
#     comes from the configured CMake targets, so new files are checked as they are added;
#  2. VrkQuelmor.exe and VORNAKDBG32.dll link with lld-link against Wine's import libraries,
#     import only system DLLs, and the library exports its seven functions at their ordinals;
#  3. a 32-bit build is refused when configured and when compiled;
#  4. those two binaries pass the installer's and the library's acceptance tests of the GCC
#     build, run from a copy of its bin/ folder in a Wine prefix of their own.
# Usage: check-msvc-dialect.sh GCC_BUILD_DIR WORK_DIR
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
gcc_dir=$(cd "$1" && pwd)
work_dir=$(mkdir -p "$2" && cd "$2" && pwd)
toolchain="$source_dir/cmake/clang-msvc-x86_64.cmake"
# The same LLVM as the toolchain file's: the newest with clang-cl.
llvm_bin=$(dirname "$(ls /usr/lib/llvm-*/bin/clang-cl | sort -V | tail -n 1)")
log="$work_dir/check.log"
: >"$log"
fail() { echo "check-msvc-dialect: $*" >&2; exit 1; }

# Import libraries under Microsoft's names and the start-up code, from Wine's own libraries.
runtime="$work_dir/runtime"
sh "$source_dir/cmake/msvc-dialect/make-runtime.sh" "$runtime"

configure() { # BUILD_DIR [CMAKE_ARGS...]
    dir=$1
    shift
    cmake -S "$source_dir" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DVORNAK_MSVC_RUNTIME_DIR="$runtime" \
        -DVORNAK_BUILD_TESTS=OFF "$@" >>"$log" 2>&1
}

# 1. Every object and resource of the configured targets.
all_dir="$work_dir/all-sources"
configure "$all_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNAK_MSVC_LIBCXX=ON || fail "configuring failed; see $log"
objects=$(ninja -C "$all_dir" -t targets all | sed -n 's/^\([^:]*\.\(obj\|res\)\): .*/\1/p')
[ -n "$objects" ] || fail "no sources found in $all_dir"
# shellcheck disable=SC2086 # one argument per object
ninja -C "$all_dir" $objects >>"$log" 2>&1 || {
    grep -E 'error|warning' "$log" >&2 || true
    fail "sources do not compile in Microsoft's dialect; see $log"
}
echo "Microsoft's dialect: $(echo "$objects" | wc -l) sources compiled without warnings:"
echo "$objects" | sed 's#CMakeFiles/[^/]*\.dir/##; s#\.\(obj\|res\)$##' | sort | tr '\n' ' ' | fold -s -w 100 |
    sed 's/^/  /'
echo

# 2. The two deliverables, built and linked with the C headers alone, as the Universal C Runtime's,
# by a multi-configuration generator as Visual Studio's is: the programs land in bin/Release.
built_dir="$work_dir/deliverables"
configure "$built_dir" -G "Ninja Multi-Config" || fail "configuring failed; see $log"
cmake --build "$built_dir" --config Release --target VrkQuelmor VORNAKDBG32 >>"$log" 2>&1 || {
    grep -E 'error|warning' "$log" >&2 || true
    fail "the deliverables do not build; see $log"
}
installer="$built_dir/bin/Release/VrkQuelmor.exe"
library="$built_dir/bin/Release/VORNAKDBG32.dll"
[ -f "$built_dir/bin/Release/vrkprot6.inf" ] || fail "vrkprot6.inf is not beside $installer"
# Wine's start-up code runs no C++ dynamic initialisers (Microsoft's runs those in .CRT$XC*): with
# one in a deliverable, these binaries would no longer stand for a Visual Studio build.
initialisers=$(find "$built_dir/installer" "$built_dir/dbgclient" -name '*.obj' -exec "$llvm_bin/llvm-objdump" -h {} + |
    grep -c 'CRT\$XC' || true)
[ "$initialisers" = 0 ] || fail "the deliverables have dynamic initialisers, which this build would not run"
"$source_dir/tests/installer/check-pe-imports.sh" "$installer" console
"$source_dir/tests/installer/check-pe-imports.sh" "$library" dll
# The seven exports at their ordinals, read by ordinal: lld-link starts the table at ordinal 0
# (two empty slots), where GNU ld starts it at the lowest ordinal.
exports=$("$llvm_bin/llvm-readobj" --coff-exports "$library" |
    awk '/Ordinal:/ { ordinal = $2 } /Name: [^ ]/ { print ordinal, $2 }' | sort -n)
expected=$(cat "$source_dir/tests/dbgclient/expected-exports.txt")
[ "$exports" = "$expected" ] || fail "$library exports differ: $(echo "$exports" | tr '\n' ',')"
echo "$library: seven exports at ordinals 2 to 8"

# 3. A 32-bit build is refused by CMake, and by the compiler in each deliverable.
refused_dir="$work_dir/refused-32-bit"
rm -rf "$refused_dir"
if configure "$refused_dir" -G Ninja -DVORNAK_MSVC_TARGET=i686-pc-windows-msvc; then
    fail "a 32-bit build was configured"
fi
tr -s ' \n' '  ' <"$log" | grep -q 'are 64-bit (x64) programs' || fail "a 32-bit configuration failed without saying why; see $log"
for object in installer/CMakeFiles/VrkQuelmor.dir/Release/command_line.cpp.obj \
    dbgclient/CMakeFiles/VORNAKDBG32.dir/Release/dll_main.cpp.obj; do
    command=$(ninja -C "$built_dir" -f build-Release.ninja -t commands "$object" | tail -n 1 |
        sed 's/--target=x86_64-pc-windows-msvc/--target=i686-pc-windows-msvc/; s#/Fo[^ ]*#/Fo32-bit.obj#')
    case $command in
    *i686-pc-windows-msvc*) ;;
    *) fail "no compile command for $object" ;;
    esac
    if said=$(cd "$built_dir" && sh -c "$command" 2>&1); then
        fail "$object compiled for 32-bit Windows"
    fi
    echo "$said" | grep -q 'built for 64-bit Windows (x64) only' || fail "$object failed for 32-bit without saying why: $said"
done
echo "A 32-bit build is refused when configured and when compiled."

# 4. The acceptance tests of the GCC build, on these two binaries.
acceptance="$work_dir/acceptance"
rm -rf "$acceptance"
cp -al "$gcc_dir/bin" "$acceptance"
rm -f "$acceptance/VrkQuelmor.exe" "$acceptance/VORNAKDBG32.dll"
cp "$installer" "$library" "$acceptance/"

export WINEPREFIX="$work_dir/wineprefix"
. "$source_dir/cmake/wine-test-bed.sh"
wine_prefix_ready
trap 'wineserver -k 2>/dev/null || true' EXIT
wine_services_started
wine regsvr32 /s "$acceptance/netcfg_sim.dll" </dev/null >>"$log" 2>&1 ||
    fail "cannot register the simulated network configuration service"
for suite in installer_tests installer_text_tests dbgclient_tests; do
    output="$work_dir/$suite.txt"
    if ! wine "$acceptance/$suite.exe" </dev/null >"$output" 2>&1; then
        grep -E '^\[  FAILED  \]|Failure|Expected|Which is' "$output" >&2 || true
        fail "$suite failed on the binaries built in Microsoft's dialect; see $output"
    fi
    echo "$suite on the binaries built in Microsoft's dialect: $(grep -E '^\[  PASSED  \]' "$output" | tr -d '[]' |
        sed 's/^ *PASSED *//')"
done
