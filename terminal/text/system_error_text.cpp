#include "system_error_text.h"

#include "terminal_texts.h"

namespace {

// The system's text on one line, without the line end it comes with.
std::string OnOneLine(std::string message)
{
    for (char& c : message) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    while (!message.empty() && message.back() == ' ') {
        message.pop_back();
    }
    return message;
}

const char* OwnWinsockText(DWORD error)
{
    for (const WinsockErrorText& known : WinsockErrorTexts) {
        if (known.code == error) {
            return known.text;
        }
    }
    return NULL;
}

} // namespace

std::string SystemErrorText(DWORD error)
{
    char* buffer = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  NULL, error, 0, reinterpret_cast<char*>(&buffer), 0, NULL);
    std::string text = "error " + std::to_string(error);
    std::string message = length != 0 ? OnOneLine(std::string(buffer, length)) : std::string();
    LocalFree(buffer);
    if (message.empty() && OwnWinsockText(error) != NULL) {
        message = OwnWinsockText(error);
    }
    return message.empty() ? text : text + ": " + message;
}
