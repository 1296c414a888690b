# Building in Microsoft's dialect without Microsoft's tools: clang-cl (clang with Microsoft's
# compiler driver, target x86_64-pc-windows-msvc, MSVC compatibility and extensions on), lld-link,
# llvm-rc and llvm-lib, against Wine's SDK headers and import libraries from Debian's libwine-dev.
# CMake takes clang-cl for an MSVC compiler, so the project's MSVC settings (warnings, static
# run-time, .def exports, .rc resources) are the ones used. scripts/check-msvc-dialect.sh drives
# it and says what it covers.
#
# Set by the caller:
#   VORNAK_MSVC_RUNTIME_DIR  import libraries under Microsoft's names and the start-up objects,
#                            made by scripts/check-msvc-dialect.sh
#   VORNAK_MSVC_LIBCXX       ON to compile against LLVM's C++ library headers (the companions use
#                            std::string and std::thread); objects made so are compiled, not linked
#   VORNAK_MSVC_TARGET       another target than x86_64-pc-windows-msvc, only to see the project
#                            refuse a 32-bit build
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

# The newest LLVM with clang-cl; lld-link, the LLVM tools and the C++ library headers come from
# the same one.
file(GLOB CLANG_CL_PATHS /usr/lib/llvm-*/bin/clang-cl)
list(SORT CLANG_CL_PATHS COMPARE NATURAL ORDER DESCENDING)
list(GET CLANG_CL_PATHS 0 CLANG_CL_PATH)
get_filename_component(LLVM_BIN_DIR "${CLANG_CL_PATH}" DIRECTORY)
if(NOT EXISTS "${LLVM_BIN_DIR}/lld-link" OR NOT EXISTS "${LLVM_BIN_DIR}/llvm-rc")
    message(FATAL_ERROR "No clang-cl, lld-link and llvm-rc under /usr/lib/llvm-*/bin: install clang, lld and llvm")
endif()
set(CMAKE_C_COMPILER   ${LLVM_BIN_DIR}/clang-cl)
set(CMAKE_CXX_COMPILER ${LLVM_BIN_DIR}/clang-cl)
set(VORNAK_MSVC_TARGET x86_64-pc-windows-msvc CACHE STRING "Target of clang-cl")
set(CMAKE_C_COMPILER_TARGET   ${VORNAK_MSVC_TARGET})
set(CMAKE_CXX_COMPILER_TARGET ${VORNAK_MSVC_TARGET})
set(CMAKE_LINKER     ${LLVM_BIN_DIR}/lld-link)
set(CMAKE_AR         ${LLVM_BIN_DIR}/llvm-lib)
set(CMAKE_RC_COMPILER ${LLVM_BIN_DIR}/llvm-rc)
set(CMAKE_MT         ${LLVM_BIN_DIR}/llvm-mt)

set(WINE_INCLUDE /usr/include/wine/wine)
set(DIALECT_DIR ${CMAKE_CURRENT_LIST_DIR}/msvc-dialect)
if(NOT EXISTS ${WINE_INCLUDE}/windows/windows.h)
    message(FATAL_ERROR "No Wine SDK headers under ${WINE_INCLUDE}: install libwine-dev")
endif()

# _MSC_VER 1920: Visual Studio 2019, the oldest the README names.
# /X leaves out any INCLUDE of the environment: only the headers named here are seen.
# Wine's headers: _UCRT for the Universal C Runtime's declarations, WINE_UNICODE_NATIVE for WCHAR
# as wchar_t (as in Microsoft's headers). Wine's winnt.h defines _InterlockedCompareExchange128,
# which clang-cl has built in: its definition is moved out of the way under another name.
# /GS- : the stack cookie's support code is part of Microsoft's C run-time, which is not here.
set(DIALECT_FLAGS "-fms-compatibility -fms-extensions -fms-compatibility-version=19.20 /X /GS-")
if(VORNAK_MSVC_LIBCXX)
    # Before every C header: LLVM's C++ library wraps them. Its gaps file declares what it needs
    # from the Universal C Runtime that Wine's headers lack.
    get_filename_component(LIBCXX_DIR "${LLVM_BIN_DIR}/../include/c++/v1" ABSOLUTE)
    if(NOT EXISTS "${LIBCXX_DIR}/string")
        message(FATAL_ERROR "No LLVM C++ library headers in ${LIBCXX_DIR}: install libc++-dev")
    endif()
    string(APPEND DIALECT_FLAGS " /clang:-isystem${LIBCXX_DIR} -imsvc ${DIALECT_DIR}/libcxx-gaps -D_LIBCPP_NO_VCRUNTIME")
endif()
string(APPEND DIALECT_FLAGS " -imsvc ${DIALECT_DIR}/include -imsvc ${WINE_INCLUDE}/msvcrt -imsvc ${WINE_INCLUDE}/windows")
string(APPEND DIALECT_FLAGS " -D_UCRT -DWINE_UNICODE_NATIVE")
string(APPEND DIALECT_FLAGS " -D_InterlockedCompareExchange128=__wine_InterlockedCompareExchange128")
set(CMAKE_C_FLAGS_INIT   "${DIALECT_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${DIALECT_FLAGS}")
set(CMAKE_RC_FLAGS_INIT  "-I ${DIALECT_DIR}/include -I ${WINE_INCLUDE}/windows")

# Microsoft's static run-time libraries are not here: the programs import the Universal C
# Runtime (ucrtbase.dll, part of every Windows 10 and 11) and start through Wine's start-up code
# for Microsoft's conventions (wmainCRTStartup, DllMainCRTStartup).
set(DIALECT_LINK "/NODEFAULTLIB /LIBPATH:${VORNAK_MSVC_RUNTIME_DIR} msvc-dialect-startup.lib ucrtbase.lib kernel32.lib")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${DIALECT_LINK}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${DIALECT_LINK} /ENTRY:DllMainCRTStartup")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${DIALECT_LINK} /ENTRY:DllMainCRTStartup")
# CMake's own checks compile only; their programs could not start without Microsoft's run-time.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VORNAK_MSVC_RUNTIME_DIR VORNAK_MSVC_LIBCXX VORNAK_MSVC_TARGET)
