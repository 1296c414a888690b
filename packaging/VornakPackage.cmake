# What `cmake --install` puts under the prefix besides the programs (each folder installs its
# own), and the release archive CPack makes of that tree:
#   bin/                the two deliverables, the terminal, vornak-send, the sample INF
#   include/            the public headers
#   lib/                libVORNAKDBG32.dll.a (MinGW) and VORNAKDBG32.lib (Microsoft's linkers)
#   lib/cmake/VornakDbg32/  the package configuration for find_package(VornakDbg32 CONFIG)
#   share/doc/vornak/   the README and the documents it links to
# Tests, their doubles and helpers, the benchmark and the sample host are never installed.
include(CMakePackageConfigHelpers)

set(VORNAK_PACKAGE_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The companions' version resources (packaging/companion_version_info.rc) carry the release's
# version; a new version rebuilds them.
foreach(program vornak-terminal vornak-terminal-console vornak-send)
    target_link_libraries(${program} PRIVATE vornak_version)
endforeach()
set_property(SOURCE vornak-terminal.rc vornak-terminal-console.rc DIRECTORY ${PROJECT_SOURCE_DIR}/terminal
             APPEND PROPERTY OBJECT_DEPENDS ${PROJECT_BINARY_DIR}/generated/vornak_version.h
                                            ${VORNAK_PACKAGE_DIR}/companion_version_info.rc)
set_property(SOURCE vornak-send.rc DIRECTORY ${PROJECT_SOURCE_DIR}/tools/sender
             APPEND PROPERTY OBJECT_DEPENDS ${PROJECT_BINARY_DIR}/generated/vornak_version.h
                                            ${VORNAK_PACKAGE_DIR}/companion_version_info.rc)

# A Microsoft-style import library, so that hosts built with Visual C++ link without building the
# library. Microsoft's linker makes it itself; with MinGW-w64 it is made from the .def file, by
# LLVM's dlltool (the short import format of Microsoft's lib.exe) or else by the MinGW one.
if(NOT MSVC)
    find_program(VORNAK_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-16 llvm-dlltool-15 llvm-dlltool-14)
    if(VORNAK_LLVM_DLLTOOL)
        set(implib_tool ${VORNAK_LLVM_DLLTOOL})
    elseif(CMAKE_DLLTOOL)
        set(implib_tool ${CMAKE_DLLTOOL})
    else()
        message(FATAL_ERROR "No dlltool to make VORNAKDBG32.lib: install llvm or binutils-mingw-w64-x86-64")
    endif()
    set(msvc_implib ${CMAKE_ARCHIVE_OUTPUT_DIRECTORY}/VORNAKDBG32.lib)
    add_custom_command(OUTPUT ${msvc_implib}
        COMMAND ${implib_tool} -m i386:x86-64 -d ${PROJECT_SOURCE_DIR}/dbgclient/VORNAKDBG32.def -l ${msvc_implib}
        DEPENDS ${PROJECT_SOURCE_DIR}/dbgclient/VORNAKDBG32.def
        COMMENT "Microsoft-style import library VORNAKDBG32.lib"
        VERBATIM)
    add_custom_target(vornakdbg32_msvc_implib ALL DEPENDS ${msvc_implib})
    install(FILES ${msvc_implib} DESTINATION lib)
endif()

# The package configuration: Vornak::VORNAKDBG32, for hosts of the same major version.
set(config_dir ${PROJECT_BINARY_DIR}/packaging)
configure_file(${VORNAK_PACKAGE_DIR}/VornakDbg32Config.cmake.in ${config_dir}/VornakDbg32Config.cmake @ONLY)
write_basic_package_version_file(${config_dir}/VornakDbg32ConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${config_dir}/VornakDbg32Config.cmake ${config_dir}/VornakDbg32ConfigVersion.cmake
        DESTINATION lib/cmake/VornakDbg32)

# The documents: the README with the pictures it shows, and the style guide.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION share/doc/vornak)
install(FILES ${PROJECT_SOURCE_DIR}/docs/STYLE.md ${PROJECT_SOURCE_DIR}/docs/terminal.png
              ${PROJECT_SOURCE_DIR}/docs/terminal-rules.png ${PROJECT_SOURCE_DIR}/docs/terminal-menu.png
              ${PROJECT_SOURCE_DIR}/docs/terminal-dark.png
        DESTINATION share/doc/vornak/docs)

# The release archive: vornak-<version>-win64.zip of the installed tree, in release/ of the
# build folder, with SHA256SUMS beside it. Its programs are stripped of debugging information.
set(CPACK_PACKAGE_NAME vornak)
set(CPACK_PACKAGE_VENDOR Vornak)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Vornak support software for Windows: the protocol driver installer and the debug message library")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME vornak-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/release)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
set(CPACK_POST_BUILD_SCRIPTS ${VORNAK_PACKAGE_DIR}/write-sha256sums.cmake)
# The source package (package_source): the tree without the version control's and the build's
# folders.
set(CPACK_SOURCE_GENERATOR ZIP)
set(CPACK_SOURCE_PACKAGE_FILE_NAME vornak-${PROJECT_VERSION}-source)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git(/|$)" "/build[^/]*/" "/out/")
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
