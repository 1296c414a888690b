// vornak-send's command line: what to send, and under which task name.
#pragma once

#include <string>
#include <vector>

#include "sender_texts.h"

enum class SendCommand { Debug, Log, Statistic, Error, Separator, Clear, Help };

struct SendRequest {
    SendCommand command = SendCommand::Help;
    bool hasTask = false;
    std::string task;
    std::string text;  // the line's text (message commands), sent through "%s"
    char fill = 0;     // separator fill; 0 lets the library choose
};

// Reads the arguments after the program name. On failure returns false with *error saying why.
bool ParseSendArguments(const std::vector<std::string>& arguments, SendRequest* request, std::string* error);
