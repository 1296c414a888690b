# The terminal's sources by component, named once: its own CMakeLists and the native fuzz build
# (fuzz/) take them from here. Each component is a folder and a library; the list below runs from
# the bottom up, and a component includes and links only those above it in the list.
#
# The *_PARSERS read what others hand the terminal and write what it hands others: patterns, rule
# files, saved logs, collector addresses, command lines, JSON lines and syslog messages. The
# native fuzzers build exactly these; none of them needs a window or a thread.

# text: code pages, UTF-8 and UTF-16, ISO time, escapes, the system's and the terminal's texts,
# the standard streams.
set(TERMINAL_TEXT_PARSERS ${CMAKE_CURRENT_LIST_DIR}/text/ansi_text.cpp ${CMAKE_CURRENT_LIST_DIR}/text/iso_time.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text/wide_text.cpp)
set(TERMINAL_TEXT_SOURCES ${TERMINAL_TEXT_PARSERS}
    ${CMAKE_CURRENT_LIST_DIR}/text/standard_streams.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text/system_error_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text/user_messages.cpp)

# pattern: the automaton, in its stages (parser, nondeterministic automaton, lazy deterministic
# one), and how its patterns meet the lines' code page.
set(TERMINAL_PATTERN_PARSERS ${CMAKE_CURRENT_LIST_DIR}/pattern/text_pattern.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pattern/pattern_parser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pattern/pattern_nfa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pattern/pattern_dfa.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pattern/line_encoding.cpp)
set(TERMINAL_PATTERN_SOURCES ${TERMINAL_PATTERN_PARSERS})

# lines: the received line, its text, its arrival, the line store, reading saved logs back.
set(TERMINAL_LINES_PARSERS ${CMAKE_CURRENT_LIST_DIR}/lines/line_text.cpp ${CMAKE_CURRENT_LIST_DIR}/lines/log_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lines/pending_line.cpp)
set(TERMINAL_LINES_SOURCES ${TERMINAL_LINES_PARSERS}
    ${CMAKE_CURRENT_LIST_DIR}/lines/line_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lines/arrival_time.cpp)

# rules: rules over lines, the rule files they are kept in, what they cost a line.
set(TERMINAL_RULES_PARSERS ${CMAKE_CURRENT_LIST_DIR}/rules/line_rules.cpp ${CMAKE_CURRENT_LIST_DIR}/rules/rule_file.cpp)
set(TERMINAL_RULES_SOURCES ${TERMINAL_RULES_PARSERS} ${CMAKE_CURRENT_LIST_DIR}/rules/rule_cost.cpp)

# view: finding, following and the time columns.
set(TERMINAL_VIEW_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/view/line_find.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view/found_rows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view/follow_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view/time_column.cpp)

# settings: what the window remembers in the registry.
set(TERMINAL_SETTINGS_SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings/terminal_settings.cpp)

# receive: the protocol, the message filter, the receiving thread and its hand-over to the rest,
# the single-instance claim.
set(TERMINAL_RECEIVE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/receive/terminal_protocol.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/message_filter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/incoming_queue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/protocol_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/line_receiver.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/terminal_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/instance_control.cpp
    ${CMAKE_CURRENT_LIST_DIR}/receive/named_object_security.cpp)

# capture: what programs write with OutputDebugString, taken from the system's debug-output
# buffer on a thread of its own, and the names of the processes that wrote it.
set(TERMINAL_CAPTURE_PARSERS ${CMAKE_CURRENT_LIST_DIR}/capture/debug_output_buffer.cpp)
set(TERMINAL_CAPTURE_SOURCES ${TERMINAL_CAPTURE_PARSERS}
    ${CMAKE_CURRENT_LIST_DIR}/capture/process_names.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture/captured_lines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/capture/debug_output_listener.cpp)

# forwarding: syslog collectors, each fed from a thread of its own.
set(TERMINAL_FORWARDING_PARSERS ${CMAKE_CURRENT_LIST_DIR}/forwarding/syslog_destination.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forwarding/syslog_message.cpp)
set(TERMINAL_FORWARDING_SOURCES ${TERMINAL_FORWARDING_PARSERS}
    ${CMAKE_CURRENT_LIST_DIR}/forwarding/syslog_forward_queue.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forwarding/syslog_forwarder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/forwarding/syslog_forwarding.cpp)

# headless: the output writer, files and their rotation, JSON lines, the headless mode.
set(TERMINAL_HEADLESS_PARSERS ${CMAKE_CURRENT_LIST_DIR}/headless/json_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/json_line_reader.cpp ${CMAKE_CURRENT_LIST_DIR}/headless/log_set_reader.cpp)
set(TERMINAL_HEADLESS_SOURCES ${TERMINAL_HEADLESS_PARSERS}
    ${CMAKE_CURRENT_LIST_DIR}/headless/output_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/output_writer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/rotating_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/headless_output.cpp
    ${CMAKE_CURRENT_LIST_DIR}/headless/headless_terminal.cpp)

# window: the frame, the list, the dialogs, layout, DPI, export.
set(TERMINAL_WINDOW_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/window/terminal_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_state.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_toolbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/viewer_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/line_menu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_bookmarks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_find.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/line_list_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/line_export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_log.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/log_opening.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/rules_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/history_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/dpi_scaling.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/list_font.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_theme.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/system_theme.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window/window_look.cpp)

# app: the commands and the command line under the two programs' entry points.
set(TERMINAL_APP_PARSERS ${CMAKE_CURRENT_LIST_DIR}/app/terminal_arguments.cpp)
set(TERMINAL_APP_SOURCES ${TERMINAL_APP_PARSERS} ${CMAKE_CURRENT_LIST_DIR}/app/terminal_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/viewer_start.cpp)

set(TERMINAL_COMPONENTS text pattern lines rules view settings receive capture forwarding headless window app)
set(TERMINAL_PARSER_SOURCES ${TERMINAL_TEXT_PARSERS} ${TERMINAL_PATTERN_PARSERS} ${TERMINAL_LINES_PARSERS}
    ${TERMINAL_RULES_PARSERS} ${TERMINAL_CAPTURE_PARSERS} ${TERMINAL_FORWARDING_PARSERS} ${TERMINAL_HEADLESS_PARSERS} ${TERMINAL_APP_PARSERS})
# Every component's headers, for a build (the fuzzers') that takes the sources without the
# libraries.
set(TERMINAL_INCLUDE_DIRS ${CMAKE_CURRENT_LIST_DIR}/../companion-support)
foreach(component IN LISTS TERMINAL_COMPONENTS)
    list(APPEND TERMINAL_INCLUDE_DIRS ${CMAKE_CURRENT_LIST_DIR}/${component})
endforeach()
