// The numbers that tie the window's resources (vornak-terminal-window.rc) to its code: the menu,
// the accelerator table, the dialogs and their controls, and the menu commands. Read by the
// resource compiler too, so only #define lines.
#pragma once

#define TERMINAL_MENU 1
#define TERMINAL_ACCELERATORS 1
#define LINE_MENU 2
#define RULES_DIALOG 101
#define HISTORY_DIALOG 102

// Controls of the window.
#define LIST_CONTROL 100
#define STATUS_CONTROL 101
#define QUICK_FILTER_LABEL 102
#define QUICK_FILTER_EDIT 103
#define FIND_LABEL 104
#define FIND_EDIT 105
#define FIND_CLOSE_BUTTON 106
#define FIND_MATCH_CASE_CHECK 107
#define FIND_REGEX_CHECK 108
#define FIND_COUNT_TEXT 109
#define TOOLBAR_CONTROL 110

// Controls of the rules dialog.
#define RULES_EDIT 1001
#define RULES_ERROR_TEXT 1002
#define RULES_COLOUR_BUTTON 1003
#define RULES_HELP_TEXT 1004
#define RULES_UP_BUTTON 1005
#define RULES_DOWN_BUTTON 1006

// Controls of the history dialog.
#define HISTORY_LINES_EDIT 1011
#define HISTORY_MEGABYTES_EDIT 1012
#define HISTORY_ERROR_TEXT 1013

// File.
#define OPEN_COMMAND 200
#define SAVE_COMMAND 201
#define IMPORT_RULES_COMMAND 202
#define EXPORT_RULES_COMMAND 203
#define EXIT_COMMAND 204
#define LOG_COMMAND 205
#define STOP_READING_COMMAND 206
#define OPEN_VIEWER_COMMAND 207
// Edit.
#define COPY_COMMAND 210
#define SELECT_ALL_COMMAND 211
#define FIND_COMMAND 212
#define FIND_NEXT_COMMAND 213
#define FIND_PREVIOUS_COMMAND 214
#define CLOSE_FIND_COMMAND 215
#define CLEAR_COMMAND 216
#define SHOW_ALL_LINES_COMMAND 217
#define FILTER_BY_PROCESS_COMMAND 218
#define COPY_TEXT_COMMAND 219
// The list's right-click menu (with Copy, Show in all lines, Filter by this process).
#define INCLUDE_LIKE_THIS_COMMAND 240
#define EXCLUDE_LIKE_THIS_COMMAND 241
#define HIGHLIGHT_LIKE_THIS_COMMAND 242
#define FILTER_BY_TASK_COMMAND 243
// Bookmarks (Edit, and Toggle bookmark in the right-click menu).
#define TOGGLE_BOOKMARK_COMMAND 244
#define NEXT_BOOKMARK_COMMAND 245
#define PREVIOUS_BOOKMARK_COMMAND 246
// The find bar's options from the keyboard and the Edit menu.
#define FIND_MATCH_CASE_COMMAND 247
#define FIND_REGEX_COMMAND 248
// View.
#define PAUSE_COMMAND 220
#define FOLLOW_COMMAND 221
#define LIVE_VIEW_COMMAND 222
#define RULES_COMMAND 223
#define QUICK_FILTER_COMMAND 224
#define TIME_CLOCK_COMMAND 225
#define TIME_SINCE_START_COMMAND 226
#define TIME_SINCE_PREVIOUS_COMMAND 227
#define ALWAYS_ON_TOP_COMMAND 228
#define SHOW_DATES_COMMAND 229
#define HISTORY_COMMAND 230
#define CAPTURE_ODS_COMMAND 231
#define CAPTURE_GLOBAL_COMMAND 232
#define FONT_COMMAND 233
#define ZOOM_IN_COMMAND 234
#define ZOOM_OUT_COMMAND 235
#define ZOOM_RESET_COMMAND 236
// View > Theme, in ThemeChoice order.
#define THEME_SYSTEM_COMMAND 237
#define THEME_LIGHT_COMMAND 238
#define THEME_DARK_COMMAND 239
#define TOOLBAR_COMMAND 250
// One per shown class, in LineClass order.
#define SHOW_DEBUG_COMMAND 300
#define SHOW_LOG_COMMAND 301
#define SHOW_STATISTIC_COMMAND 302
#define SHOW_ERROR_COMMAND 303
#define SHOW_SEPARATOR_COMMAND 304
#define SHOW_ODS_COMMAND 305
