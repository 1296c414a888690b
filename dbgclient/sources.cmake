# The library's sources, named once: its own CMakeLists and the native fuzz build (fuzz/) take
# them from here.
set(DBGCLIENT_LINE_COMPOSE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/line_compose.cpp ${CMAKE_CURRENT_LIST_DIR}/character_cut.cpp)
set(DBGCLIENT_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/dll_main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/terminal_delivery.cpp
    ${CMAKE_CURRENT_LIST_DIR}/task_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/register_task.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_exports.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ansi_code_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ucrt_formatter.cpp)
