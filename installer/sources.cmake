# The installer's sources, named once: its own CMakeLists and the native fuzz build (fuzz/) take
# them from here.

# The portable pieces (text and path arithmetic): no Windows headers, so that the native fuzzers
# build exactly what the program uses.
set(INSTALLER_TEXT_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/bounded_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/inf_path.cpp)

# The network configuration's identifiers are defined in network_config_ids.cpp: no uuid library.
set(INSTALLER_CORE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/net_config.cpp
    ${CMAKE_CURRENT_LIST_DIR}/network_config_ids.cpp
    ${CMAKE_CURRENT_LIST_DIR}/console_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/component_commands.cpp)
