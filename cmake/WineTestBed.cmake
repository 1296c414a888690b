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

    # A test that needs a prefix's terminal window or simulated service to itself takes it in one of
    # as many prefixes as the machine has cores (wineprefix, wineprefix-1, ...): CTest hands the slots
    # out (every ctest run in this build reads this file) and wine-run goes to the prefix named.
    cmake_host_system_information(RESULT wine_prefix_count QUERY NUMBER_OF_LOGICAL_CORES)
    if(wine_prefix_count LESS 1)
        set(wine_prefix_count 1)
    endif()
    math(EXPR last_prefix "${wine_prefix_count} - 1")
    set(prefix_slots "")
    foreach(id RANGE ${last_prefix})
        if(NOT id EQUAL 0)
            string(APPEND prefix_slots ", ")
        endif()
        string(APPEND prefix_slots "{\"id\": \"${id}\", \"slots\": 1}")
    endforeach()
    set(CTEST_RESOURCE_SPEC_FILE ${CMAKE_BINARY_DIR}/wine-prefixes.json)
    file(WRITE ${CTEST_RESOURCE_SPEC_FILE}
         "{\"version\": {\"major\": 1, \"minor\": 0}, \"local\": [{"
         "\"debug_terminal_window\": [${prefix_slots}], "
         "\"simulated_network_configuration\": [${prefix_slots}]}]}\n")
endif()
