#include "send_arguments.h"

namespace {

struct CommandName {
    const char* name;
    SendCommand command;
};

const CommandName CommandNames[] = {
    {"debug", SendCommand::Debug},         {"log", SendCommand::Log},
    {"stat", SendCommand::Statistic},      {"statistic", SendCommand::Statistic},
    {"error", SendCommand::Error},         {"separator", SendCommand::Separator},
    {"clear", SendCommand::Clear},
};

bool Fail(std::string* error, const std::string& text)
{
    *error = text;
    return false;
}

bool IsOption(const std::string& argument)
{
    return argument.size() > 1 && argument[0] == '-';
}

bool IsMessage(SendCommand command)
{
    return command == SendCommand::Debug || command == SendCommand::Log || command == SendCommand::Statistic ||
           command == SendCommand::Error;
}

} // namespace

bool ParseSendArguments(const std::vector<std::string>& arguments, SendRequest* request, std::string* error)
{
    SendRequest parsed;
    size_t next = 0;
    while (next < arguments.size() && (IsOption(arguments[next]) || arguments[next] == "/?")) {
        const std::string& option = arguments[next++];
        if (option == "--help" || option == "-h" || option == "/?") {
            parsed.command = SendCommand::Help;
            *request = parsed;
            return true;
        }
        if (option != "--task") {
            return Fail(error, UnknownOption(option));
        }
        if (parsed.hasTask) {
            return Fail(error, TaskOnlyOnce);
        }
        if (next >= arguments.size()) {
            return Fail(error, TaskNeedsName);
        }
        if (arguments[next].empty()) {
            return Fail(error, TaskNameEmpty);
        }
        parsed.hasTask = true;
        parsed.task = arguments[next++];
    }
    if (next >= arguments.size()) {
        return Fail(error, SayWhatToSend);
    }
    const std::string& commandWord = arguments[next++];
    bool known = false;
    for (const CommandName& entry : CommandNames) {
        if (commandWord == entry.name) {
            parsed.command = entry.command;
            known = true;
        }
    }
    if (!known) {
        return Fail(error, UnknownCommand(commandWord));
    }
    size_t rest = arguments.size() - next;
    if (IsMessage(parsed.command)) {
        if (rest == 0) {
            return Fail(error, commandWord + NeedsText);
        }
        for (size_t i = next; i < arguments.size(); ++i) {
            parsed.text += (i > next ? " " : "") + arguments[i];
        }
    } else if (parsed.command == SendCommand::Separator) {
        if (rest > 1 || (rest == 1 && arguments[next].size() != 1)) {
            return Fail(error, SeparatorTakesOneCharacter);
        }
        parsed.fill = rest == 1 ? arguments[next][0] : 0;
    } else if (rest != 0) {
        return Fail(error, ClearTakesNoArguments);
    }
    // The library labels lines of a thread with a task name; a separator or a clear carries none.
    if (parsed.hasTask && !IsMessage(parsed.command)) {
        return Fail(error, TaskGoesWithMessages);
    }
    *request = parsed;
    return true;
}
