#!/bin/sh
# Makes the folder that cmake/clang-msvc-x86_64.cmake links against (VORNAK_MSVC_RUNTIME_DIR):
# import libraries under Microsoft's names (lld-link reads MinGW's archive format as well), and
# the start-up code for Microsoft's entry points (main, wmain, DllMain) from Wine's own libraries.
# ucrtbase's library loses its start-up objects: lld-link picks the entry point from the main
# functions it sees, and those offer main and WinMain beside wmain.
# Usage: make-runtime.sh RUNTIME_DIR
set -eu
runtime=$1
# The same LLVM as the toolchain file's: the newest with clang-cl.
llvm_bin=$(dirname "$(ls /usr/lib/llvm-*/bin/clang-cl | sort -V | tail -n 1)")
wine_libs=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

rm -rf "$runtime"
mkdir -p "$runtime/startup"
for library in "$wine_libs"/lib*.a; do
    name=$(basename "$library" .a)
    ln -s "$library" "$runtime/${name#lib}.lib"
done
rm "$runtime/ucrtbase.lib"
cp "$wine_libs/libucrtbase.a" "$runtime/ucrtbase.lib"
"$llvm_bin/llvm-ar" d "$runtime/ucrtbase.lib" crt_main.o crt_gccmain.o crt_winmain.o crt_wmain.o crt_wwinmain.o
cd "$runtime/startup"
"$llvm_bin/llvm-ar" x "$wine_libs/libucrtbase.a" crt_main.o crt_wmain.o
"$llvm_bin/llvm-ar" x "$wine_libs/libwinecrt0.a" crt_dllmain.o crt_fltused.o
"$llvm_bin/llvm-lib" /nologo /out:../msvc-dialect-startup.lib crt_main.o crt_wmain.o crt_dllmain.o crt_fltused.o
