/* The protocol between VORNAKDBG32 and a debug terminal: the window the library looks for, the
 * five messages it registers and sends, the letter that tells a line's class and how long a line
 * may be. A terminal of any make that follows it receives every line. Usable from C and C++.
 *
 * A terminal owns a top-level window of class VORNAK_TERMINAL_CLASS (any title) and registers the
 * five names with RegisterWindowMessage, which gives every process the same numbers for them. A
 * line message carries in its first parameter a global atom holding the line (0 when the atom
 * table refused it) and in its second the letter of its class; the atom can be read only until
 * the handling of the message returns. The clear request carries 0 and 0. */
#ifndef VORNAK_TERMINAL_PROTOCOL_H
#define VORNAK_TERMINAL_PROTOCOL_H

#define VORNAK_TERMINAL_CLASS "VornakDebugTerminal"
#define VORNAK_TERMINAL_CLASS_W L"VornakDebugTerminal"

/* The registered names; the leading asterisk is part of each. */
#define VORNAK_WM_DEBUG_MESSAGE "*WM_DEBUG_MESSAGE"
#define VORNAK_WM_LOG_MESSAGE "*WM_LOG_MESSAGE"
#define VORNAK_WM_STATISTIC_MESSAGE "*WM_STATISTIC_MESSAGE"
#define VORNAK_WM_ERROR_MESSAGE "*WM_ERROR_MESSAGE"
#define VORNAK_WM_CLEAR_TERMINAL "*WM_CLEAR_TERMINAL"

/* The five messages in the order the library registers them; an index into
 * VornakTerminalMessageNames. */
enum VornakTerminalMessage {
    VORNAK_DEBUG_MESSAGE,
    VORNAK_LOG_MESSAGE,
    VORNAK_STATISTIC_MESSAGE,
    VORNAK_ERROR_MESSAGE,
    VORNAK_CLEAR_TERMINAL,
    VORNAK_TERMINAL_MESSAGE_COUNT
};

/* The names in that order, as an initializer for an array of C strings. */
#define VORNAK_TERMINAL_MESSAGE_NAMES                                                          \
    {                                                                                          \
        VORNAK_WM_DEBUG_MESSAGE, VORNAK_WM_LOG_MESSAGE, VORNAK_WM_STATISTIC_MESSAGE,           \
            VORNAK_WM_ERROR_MESSAGE, VORNAK_WM_CLEAR_TERMINAL                                  \
    }

#ifdef __cplusplus
constexpr const char* VornakTerminalMessageNames[VORNAK_TERMINAL_MESSAGE_COUNT] = VORNAK_TERMINAL_MESSAGE_NAMES;
#endif

/* The second parameter of a line message: its class. A separator travels as a debug message with
 * letter 0; the error class is 'V', not 'E'. The letter is sign-extended to the parameter's width. */
#define VORNAK_LETTER_DEBUG 'D'
#define VORNAK_LETTER_LOG 'L'
#define VORNAK_LETTER_STATISTIC 'S'
#define VORNAK_LETTER_ERROR 'V'
#define VORNAK_LETTER_SEPARATOR 0

/* The most characters a global atom holds: a line, its final line feed included, is never longer. */
#define VORNAK_ATOM_TEXT_LIMIT 255

#endif
