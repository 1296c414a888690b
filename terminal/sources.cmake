# The terminal's library sources, named once: its own CMakeLists and the native fuzz build (fuzz/)
# take them from here.

# What reads what others hand the terminal, and what writes what it hands others: patterns, rule
# files, saved logs, collector addresses, command lines, JSON lines and syslog messages. The
# native fuzzers build exactly these; none of them needs a window or a thread.
set(TERMINAL_CORE_PARSER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/line_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/terminal_arguments.cpp
    ${CMAKE_CURRENT_LIST_DIR}/syslog_destination.cpp)
set(TERMINAL_ENGINE_PARSER_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/text_pattern.cpp
    ${CMAKE_CURRENT_LIST_DIR}/line_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rule_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/iso_time.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ansi_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/log_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/json_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/syslog_message.cpp)
# Where the headers are, theirs and the others'.
set(TERMINAL_INCLUDE_DIRS ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/../companion-support)

# What does not need a window.
set(TERMINAL_CORE_SOURCES
    ${TERMINAL_CORE_PARSER_SOURCES}
    ${CMAKE_CURRENT_LIST_DIR}/line_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/incoming_queue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/terminal_protocol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_filter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/standard_streams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/user_messages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/system_error_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/named_object_security.cpp
    ${CMAKE_CURRENT_LIST_DIR}/instance_control.cpp
    ${CMAKE_CURRENT_LIST_DIR}/output_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/output_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/arrival_time.cpp)

# The engines under the viewer's features and the headless outputs.
set(TERMINAL_ENGINE_SOURCES
    ${TERMINAL_ENGINE_PARSER_SOURCES}
    ${CMAKE_CURRENT_LIST_DIR}/line_find.cpp
    ${CMAKE_CURRENT_LIST_DIR}/follow_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/time_column.cpp
    ${CMAKE_CURRENT_LIST_DIR}/terminal_settings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rotating_output.cpp)
