# When cross-compiling, every test and every build-time run of a Windows program goes through
# Wine in a private prefix inside the build tree (cmake/wine-test-bed.sh makes it and starts Wine).
if(CMAKE_CROSSCOMPILING)
    set(WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(WINE_TEST_BED ${CMAKE_SOURCE_DIR}/cmake/wine-test-bed.sh)
    # Registered on the first run after the build made it (netcfg-sim/).
    set(NETCFG_SIM_DLL ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/netcfg_sim.dll)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
