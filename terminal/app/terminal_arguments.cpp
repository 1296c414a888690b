#include "terminal_arguments.h"

#include "terminal_settings.h"
#include "wide_text.h"

namespace {

constexpr unsigned MaxTimeoutSeconds = 3600;

// An argument as a message shows it (UTF-8, which consoles and boxes show whole); a control
// character, which could steer a console, as '?'.
std::string Shown(const std::wstring& text)
{
    std::wstring kept = text;
    for (wchar_t& c : kept) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            c = L'?';
        }
    }
    return WideToUtf8(kept);
}

bool Fail(std::string* error, const std::string& text)
{
    *error = text;
    return false;
}

// A whole number of at most limit, with an optional K, M or G (times 1024, 1024^2, 1024^3).
bool ParseSize(const std::wstring& text, uint64_t limit, bool suffixAllowed, uint64_t* size)
{
    std::wstring digits = text;
    uint64_t unit = 1;
    if (suffixAllowed && !digits.empty()) {
        switch (digits.back()) {
        case L'K': case L'k': unit = 1ull << 10; break;
        case L'M': case L'm': unit = 1ull << 20; break;
        case L'G': case L'g': unit = 1ull << 30; break;
        default: break;
        }
        if (unit != 1) {
            digits.pop_back();
        }
    }
    if (digits.empty() || digits.size() > 13) {
        return false;
    }
    uint64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (value > limit / unit) {
        return false;
    }
    *size = value * unit;
    return true;
}

bool ParseSeconds(const std::wstring& text, unsigned* seconds)
{
    uint64_t value = 0;
    if (!ParseSize(text, MaxTimeoutSeconds, false, &value) || value == 0) {
        return false;
    }
    *seconds = static_cast<unsigned>(value);
    return true;
}

bool ParseLineCount(const std::wstring& text, size_t* lines)
{
    uint64_t value = 0;
    if (!ParseSize(text, MaxForwardQueueLines, false, &value) || value == 0) {
        return false;
    }
    *lines = static_cast<size_t>(value);
    return true;
}

// Which options have been given so far.
struct OptionsGiven {
    bool command = false;
    bool output = false;
    bool rules = false;
    bool log = false;
    bool open = false;
    bool view = false;
    bool history = false;
    bool timeout = false;
    bool forwardQueue = false;
    bool format = false;
    bool rotate = false;
    bool keep = false;
    bool capture = false;
};

// Marks an option as given; false with *error when it was already.
bool GivenOnce(bool* given, const std::wstring& option, std::string* error)
{
    if (*given) {
        return Fail(error, GivenTwice(Shown(option)));
    }
    *given = true;
    return true;
}

// Each option that takes a value reads it into the options.
using OptionReader = bool (*)(const std::wstring& value, TerminalOptions* parsed, OptionsGiven* given,
                              std::string* error);

// --output, --rules and --log: a file name, never empty.
bool ReadFileName(const std::wstring& value, std::wstring* path, const char* refusal, std::string* error)
{
    if (value.empty()) {
        return Fail(error, refusal);
    }
    *path = value;
    return true;
}

bool ReadOutput(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    return ReadFileName(value, &parsed->outputPath, OutputTakesOneName, error);
}

bool ReadRules(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    return ReadFileName(value, &parsed->rulesPath, RulesTakesOneName, error);
}

bool ReadLog(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    return ReadFileName(value, &parsed->logPath, LogTakesOneName, error);
}

// --view: the log to show, as a positional LOG names it, in a viewer.
bool ReadView(const std::wstring& value, TerminalOptions* parsed, OptionsGiven* given, std::string* error)
{
    if (given->open) {
        return Fail(error, OpensOneLog);
    }
    if (value.empty()) {
        return Fail(error, ViewTakesOneName);
    }
    given->open = true;
    parsed->openPath = value;
    parsed->viewer = true;
    return true;
}

bool ReadHistory(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    uint64_t lines = 0;
    if (!ParseSize(value, MaxHistoryLines, false, &lines) || lines < MinHistoryLines) {
        return Fail(error, FillText(HistoryTakesLines, {std::to_string(MinHistoryLines), std::to_string(MaxHistoryLines)}));
    }
    parsed->historyLines = static_cast<size_t>(lines);
    return true;
}

bool ReadTimeout(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    return ParseSeconds(value, &parsed->timeoutSeconds) || Fail(error, TimeoutTakesSeconds);
}

// --forward may be given once for each collector.
bool ReadForward(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    if (parsed->forwardTo.size() == MaxForwardCollectors) {
        return Fail(error, FillText(TooManyCollectors, {std::to_string(MaxForwardCollectors)}));
    }
    SyslogDestination destination;
    if (!ParseSyslogDestination(value, &destination, error)) {
        return false;
    }
    parsed->forwardTo.push_back(destination);
    return true;
}

bool ReadForwardQueue(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    return ParseLineCount(value, &parsed->forwardQueueLines) || Fail(error, ForwardQueueTakesLines);
}

bool ReadFormat(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    if (value != L"text" && value != L"json") {
        return Fail(error, FormatTakesTextOrJson);
    }
    parsed->format = value == L"json" ? OutputFormat::Json : OutputFormat::Text;
    return true;
}

bool ReadRotate(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    if (!ParseSize(value, MaxRotateBytes, true, &parsed->rotateBytes) || parsed->rotateBytes == 0) {
        return Fail(error, RotateTakesBytes);
    }
    return true;
}

bool ReadKeep(const std::wstring& value, TerminalOptions* parsed, OptionsGiven*, std::string* error)
{
    uint64_t keep = 0;
    if (!ParseSize(value, MaxKeptFiles, false, &keep)) {
        return Fail(error, KeepTakesFiles);
    }
    parsed->keptFiles = static_cast<unsigned>(keep);
    return true;
}

struct ValueOption {
    const wchar_t* name;
    bool OptionsGiven::*givenOnce;  // null for an option that may be given again
    OptionReader read;
};

constexpr ValueOption ValueOptions[] = {
    {L"--output", &OptionsGiven::output, ReadOutput},
    {L"--rules", &OptionsGiven::rules, ReadRules},
    {L"--log", &OptionsGiven::log, ReadLog},
    {L"--view", &OptionsGiven::view, ReadView},
    {L"--history", &OptionsGiven::history, ReadHistory},
    {L"--timeout", &OptionsGiven::timeout, ReadTimeout},
    {L"--forward", nullptr, ReadForward},
    {L"--forward-queue", &OptionsGiven::forwardQueue, ReadForwardQueue},
    {L"--format", &OptionsGiven::format, ReadFormat},
    {L"--rotate", &OptionsGiven::rotate, ReadRotate},
    {L"--keep", &OptionsGiven::keep, ReadKeep},
};

// The option that takes a value named by an argument; null for any other argument.
const ValueOption* ValueOptionNamed(const std::wstring& argument)
{
    for (const ValueOption& option : ValueOptions) {
        if (argument == option.name) {
            return &option;
        }
    }
    return nullptr;
}

// False for an argument that names no command.
bool CommandNamed(const std::wstring& argument, TerminalCommand* command)
{
    if (argument == L"--headless") {
        *command = TerminalCommand::Headless;
    } else if (argument == L"--stop") {
        *command = TerminalCommand::Stop;
    } else if (argument == L"--wait") {
        *command = TerminalCommand::Wait;
    } else if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
        *command = TerminalCommand::Help;
    } else {
        return false;
    }
    return true;
}

// --capture-ods and --capture-ods=global; false for any other argument.
bool CaptureNamed(const std::wstring& argument, bool* global)
{
    if (argument != L"--capture-ods" && argument != L"--capture-ods=global") {
        return false;
    }
    *global = argument != L"--capture-ods";
    return true;
}

// The options that go only with a command or with another option.
bool CheckCombination(const TerminalOptions& parsed, const OptionsGiven& given, std::string* error)
{
    if (given.output && parsed.command != TerminalCommand::Headless) {
        return Fail(error, OutputGoesWithHeadless);
    }
    if (given.capture && parsed.command != TerminalCommand::Headless) {
        return Fail(error, CaptureGoesWithHeadless);
    }
    if ((!parsed.forwardTo.empty() || given.forwardQueue) && parsed.command != TerminalCommand::Headless) {
        return Fail(error, ForwardGoesWithHeadless);
    }
    if (given.forwardQueue && parsed.forwardTo.empty()) {
        return Fail(error, ForwardQueueWithoutForward);
    }
    if (given.rules && parsed.command != TerminalCommand::Window) {
        return Fail(error, RulesGoWithWindow);
    }
    if (given.history && parsed.command != TerminalCommand::Window) {
        return Fail(error, HistoryGoesWithWindow);
    }
    if (given.log && parsed.command != TerminalCommand::Window) {
        return Fail(error, LogGoesWithWindow);
    }
    if (given.open && parsed.command != TerminalCommand::Window) {
        return Fail(error, OpenGoesWithWindow);
    }
    if (given.view && given.log) {
        return Fail(error, ViewWritesNoLog);
    }
    if (given.format && parsed.command != TerminalCommand::Headless && !given.log) {
        return Fail(error, FormatGoesWithHeadless);
    }
    if (given.rotate && !given.output && !given.log) {
        return Fail(error, RotateNeedsOutput);
    }
    if (given.keep && !given.rotate) {
        return Fail(error, KeepGoesWithRotate);
    }
    if (given.timeout && parsed.command != TerminalCommand::Stop && parsed.command != TerminalCommand::Wait) {
        return Fail(error, TimeoutGoesWithStopOrWait);
    }
    return true;
}

} // namespace

bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error)
{
    TerminalOptions parsed;
    OptionsGiven given;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        TerminalCommand command = TerminalCommand::Window;
        if (CommandNamed(argument, &command)) {
            if (given.command) {
                return Fail(error, OnlyOneCommand);
            }
            parsed.command = command;
            given.command = true;
            continue;
        }
        if (CaptureNamed(argument, &parsed.captureGlobal)) {
            if (!GivenOnce(&given.capture, L"--capture-ods", error)) {
                return false;
            }
            parsed.captureOds = true;
            continue;
        }
        const ValueOption* option = ValueOptionNamed(argument);
        if (option == nullptr && !argument.empty() && argument[0] != L'-') {
            // Not an option: the log to show, as Explorer's "Open with" and scripts name it.
            if (given.open) {
                return Fail(error, OpensOneLog);
            }
            given.open = true;
            parsed.openPath = argument;
            continue;
        }
        if (option == nullptr) {
            return Fail(error, UnknownArgument(Shown(argument)));
        }
        if (i + 1 >= arguments.size()) {
            return Fail(error, Shown(argument) + NeedsAValue);
        }
        if (option->givenOnce != nullptr && !GivenOnce(&(given.*option->givenOnce), argument, error)) {
            return false;
        }
        if (!option->read(arguments[++i], &parsed, &given, error)) {
            return false;
        }
    }
    if (!CheckCombination(parsed, given, error)) {
        return false;
    }
    *options = parsed;
    return true;
}
