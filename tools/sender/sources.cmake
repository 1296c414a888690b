# The sender's command-line reading, named once: its own CMakeLists and the native fuzz build
# (fuzz/) take it from here.
set(SENDER_ARGUMENT_SOURCES ${CMAKE_CURRENT_LIST_DIR}/send_arguments.cpp)
set(SENDER_ARGUMENT_INCLUDE_DIRS ${CMAKE_CURRENT_LIST_DIR})
