# How the tests are built: GoogleTest for the target, from the sources Debian's googletest package
# installs (no download), and the two functions every test folder uses.
set(GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest is not ours to keep free of warnings.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")
include(GoogleTest)

# A test's own sources unoptimised, without debugging information, and compiled eight to a unit
# (CMake's unity build), so that GoogleTest's and Windows' headers are read once a unit: the units
# take two thirds of the time the files took one by one. What they test (the libraries they link) is
# built as the product is, file by file.
function(vornak_test_code_built_quickly target)
    if(NOT MSVC)
        target_compile_options(${target} PRIVATE -O0 -g0)
    endif()
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON)
endfunction()

# add_vornak_test(NAME SOURCES... [LIBRARIES ...] [SHARED_STATE name] [EMULATOR program]
#                 [LABEL label] [CASES filter CASE_LABEL label] [COST seconds]): one GoogleTest executable
# whose cases CTest discovers, when it starts, and runs one by one; no build step runs it. Cases that
# use the same prefix-wide state (the simulated service's lock and components, the one terminal
# window) name it in SHARED_STATE: CTest then runs at most one of them in each Wine prefix of the
# build's pool (wine-prefixes.json, one prefix a core), and wine-run takes it there. EMULATOR runs this
# executable's cases (and their discovery) in place of the build's usual Wine wrapper. LABEL names
# the area a contributor runs with ctest -L (one: discovery would split a list); the cases that
# match the GoogleTest filter CASES get CASE_LABEL in its place. A folder's LABELS property adds
# to it. COST, about how long the longest case takes, starts them first while CTest has no timings
# of its own yet (a fresh clone): started last, a long case keeps the whole run waiting on it.
function(add_vornak_test name)
    cmake_parse_arguments(ARG "" "SHARED_STATE;EMULATOR;LABEL;CASES;CASE_LABEL;COST" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest_main ${ARG_LIBRARIES})
    vornak_test_code_built_quickly(${name})
    if(ARG_EMULATOR)
        set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR ${ARG_EMULATOR})
    endif()
    set(properties TIMEOUT 300)
    if(ARG_SHARED_STATE)
        list(APPEND properties RESOURCE_GROUPS ${ARG_SHARED_STATE}:1)
    endif()
    if(ARG_COST)
        list(APPEND properties COST ${ARG_COST})
    endif()
    # A first run may have to create the Wine prefix: discovery gets the time that takes.
    set(discovery TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
    if(ARG_CASES)
        gtest_discover_tests(${name} ${discovery} TEST_FILTER "${ARG_CASES}"
                             PROPERTIES ${properties} LABELS "${ARG_CASE_LABEL}")
        gtest_discover_tests(${name} ${discovery} TEST_FILTER "-${ARG_CASES}"
                             PROPERTIES ${properties} LABELS "${ARG_LABEL}")
    else()
        gtest_discover_tests(${name} ${discovery} PROPERTIES ${properties} LABELS "${ARG_LABEL}")
    endif()
endfunction()

# add_vornak_test_program(TARGET FILE_NAME SOURCES... [LIBRARIES ...]): a Windows program, entered at
# wmain, that tests start beside themselves under FILE_NAME (without .exe).
function(add_vornak_test_program target file_name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${target} ${ARG_SOURCES})
    vornak_test_code_built_quickly(${target})
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${file_name})
    target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES})
    if(MINGW)
        target_link_options(${target} PRIVATE -municode)
    endif()
endfunction()
