// vornak-send's command line: what to send, and under which task name.
#pragma once

#include <string>
#include <vector>

enum class SendCommand { Debug, Log, Statistic, Error, Separator, Clear, Help };

struct SendRequest {
    SendCommand command = SendCommand::Help;
    bool hasTask = false;
    std::string task;
    std::string text;  // the line's text (message commands), sent through "%s"
    char fill = 0;     // separator fill; 0 lets the library choose
};

constexpr const char* SendUsage =
    "Usage: vornak-send [--task NAME] debug|log|stat|error TEXT...\n"
    "       vornak-send separator [CHAR]\n"
    "       vornak-send clear\n"
    "       vornak-send --help | /?\n"
    "Sends one line to the running debug terminal through VORNAKDBG32.dll. The words of TEXT are\n"
    "joined with single blanks and sent as they are ('%' included). --task NAME registers NAME\n"
    "for this process's thread first, so the line reads \"NAME : TEXT\".\n"
    "Exit status: the library's status: 0 sent; 2 no debug terminal is running; 3 the task name\n"
    "was refused (over 255 characters); 64 bad arguments; 69 VORNAKDBG32.dll could not be used.\n";

// Reads the arguments after the program name. On failure returns false with *error saying why.
bool ParseSendArguments(const std::vector<std::string>& arguments, SendRequest* request, std::string* error);
