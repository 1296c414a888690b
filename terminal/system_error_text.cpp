#include "system_error_text.h"

std::string SystemErrorText(DWORD error)
{
    char* buffer = NULL;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  NULL, error, 0, reinterpret_cast<char*>(&buffer), 0, NULL);
    std::string text = "error " + std::to_string(error);
    if (length != 0) {
        std::string message(buffer, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
            message.pop_back();
        }
        text += ": " + message;
    }
    LocalFree(buffer);
    return text;
}
