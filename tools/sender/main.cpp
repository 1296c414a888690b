// vornak-send: sends one line (or a separator, or a clear request) to the running debug terminal,
// so that scripts and batch files can write to it too. Exits with the library's status.
#include <stdio.h>

#include <string>
#include <vector>

#include "ansi_arguments.h"
#include "library_binding.h"
#include "send_arguments.h"

namespace {

// As in sysexits: a command line that makes no sense, and a service (the library) not to be had.
constexpr int UsageExitStatus = 64;
constexpr int UnavailableExitStatus = 69;
constexpr int HelpExitStatus = 0;

int Send(const LibraryBinding& library, const SendRequest& request)
{
    if (request.hasTask) {
        int status = library.registerTask(request.task.c_str());
        if (status != VORNAKDBG_STATUS_DONE) {
            return status;
        }
    }
    // The text is a value, never the format: a '%' in it is sent as it is.
    switch (request.command) {
    case SendCommand::Debug: return library.debugMessage("%s", request.text.c_str());
    case SendCommand::Log: return library.logMessage("%s", request.text.c_str());
    case SendCommand::Statistic: return library.statisticMessage("%s", request.text.c_str());
    case SendCommand::Error: return library.errorMessage("%s", request.text.c_str());
    case SendCommand::Separator: return library.separator(request.fill);
    case SendCommand::Clear: return library.clearTerminal();
    case SendCommand::Help: break;
    }
    return VORNAKDBG_STATUS_DONE;
}

const char* StatusMeaning(int status)
{
    switch (status) {
    case VORNAKDBG_STATUS_TEXT_MISSING: return TextMissingMeaning;
    case VORNAKDBG_STATUS_NO_TERMINAL: return NoTerminalMeaning;
    case VORNAKDBG_STATUS_NAME_REFUSED: return NameRefusedMeaning;
    default: return UnknownStatusMeaning;
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::string uncarried;
    std::vector<std::string> arguments = AnsiArguments(argc, argv, &uncarried);
    SendRequest request;
    std::string error;
    if (!ParseSendArguments(arguments, &request, &error)) {
        fprintf(stderr, "%s%s\n%s", SenderMessagePrefix, error.c_str(), SendUsage);
        return UsageExitStatus;
    }
    if (request.command == SendCommand::Help) {
        fputs(SendUsage, stdout);
        return HelpExitStatus;
    }
    LibraryBinding library;
    if (!BindLibrary(&library, &error)) {
        fprintf(stderr, "%s%s\n", SenderMessagePrefix, error.c_str());
        return UnavailableExitStatus;
    }
    int status = Send(library, request);
    UnbindLibrary(&library);
    if (status == VORNAKDBG_STATUS_DONE && !uncarried.empty()) {
        // Sent all the same, as the line may still say what it should; the status stays the library's.
        fprintf(stderr, "%s%s\n", SenderMessagePrefix, NotCarried(GetACP(), uncarried).c_str());
    }
    if (status != VORNAKDBG_STATUS_DONE) {
        fprintf(stderr, "%s%s (status %d)\n", SenderMessagePrefix, StatusMeaning(status), status);
    }
    return status;
}
