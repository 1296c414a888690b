# Cross-compiling 64-bit Windows binaries with clang, against Debian's MinGW-w64 headers, C++
# library and linker: a second compiler over the same platform files as mingw-w64-x86_64.cmake.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_TRIPLE})
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)

# Without a sysroot clang also searches the host's /usr/include; with it, only MinGW's headers.
set(CMAKE_SYSROOT /usr/${MINGW_TRIPLE})

# clang does not find the C++ library of the -posix GCC by itself (its folder is named
# "12-posix", not a bare version): name its headers and libraries. The newest one is taken.
file(GLOB MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${MINGW_TRIPLE}/*-posix)
list(SORT MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET MINGW_GCC_DIRS 0 MINGW_GCC_DIR)
if(NOT IS_DIRECTORY "${MINGW_GCC_DIR}/include/c++")
    message(FATAL_ERROR "No MinGW-w64 -posix C++ library under /usr/lib/gcc/${MINGW_TRIPLE}: "
                        "install g++-mingw-w64-x86-64-posix")
endif()
# MinGW GCC predefines the two typeinfo macros and builds libstdc++ with them; clang 14 does not,
# and would then define type_info::operator== inline beside libstdc++'s own (a duplicate symbol).
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${MINGW_GCC_DIR}/include/c++ -isystem ${MINGW_GCC_DIR}/include/c++/${MINGW_TRIPLE} \
-D__GXX_TYPEINFO_EQUALITY_INLINE=0 -D__GXX_MERGED_TYPEINFO_NAMES=0")
# GNU ld, as in the GCC build, so that the export definition file is read by the same linker.
# -pthread puts winpthread into the closing library group, after libstdc++ and libgcc_eh that
# need it (the -posix GCC does the same); only what is used is linked, statically.
set(MINGW_LINK_FLAGS "-fuse-ld=bfd -L${MINGW_GCC_DIR} -pthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT    ${MINGW_LINK_FLAGS})
set(CMAKE_SHARED_LINKER_FLAGS_INIT ${MINGW_LINK_FLAGS})
set(CMAKE_MODULE_LINKER_FLAGS_INIT ${MINGW_LINK_FLAGS})

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
