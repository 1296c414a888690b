#include "terminal_arguments.h"

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

// The options of the headless output's form: --format, --rotate, --keep.
struct OutputFormGiven {
    bool format = false;
    bool rotate = false;
    bool keep = false;
};

bool ParseOutputForm(const std::wstring& option, const std::wstring& value, TerminalOptions* parsed,
                     OutputFormGiven* given, std::string* error)
{
    bool* seen = option == L"--format" ? &given->format : option == L"--rotate" ? &given->rotate : &given->keep;
    if (*seen) {
        return Fail(error, GivenTwice(Shown(option)));
    }
    if (option == L"--format") {
        if (value != L"text" && value != L"json") {
            return Fail(error, FormatTakesTextOrJson);
        }
        parsed->format = value == L"json" ? OutputFormat::Json : OutputFormat::Text;
        given->format = true;
    } else if (option == L"--rotate") {
        if (!ParseSize(value, MaxRotateBytes, true, &parsed->rotateBytes) || parsed->rotateBytes == 0) {
            return Fail(error, RotateTakesBytes);
        }
        given->rotate = true;
    } else {
        uint64_t keep = 0;
        if (!ParseSize(value, MaxKeptFiles, false, &keep)) {
            return Fail(error, KeepTakesFiles);
        }
        parsed->keptFiles = static_cast<unsigned>(keep);
        given->keep = true;
    }
    return true;
}

} // namespace

bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error)
{
    TerminalOptions parsed;
    bool commandGiven = false;
    bool outputGiven = false;
    bool timeoutGiven = false;
    bool forwardQueueGiven = false;
    bool rulesGiven = false;
    OutputFormGiven formGiven;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        TerminalCommand command;
        if (argument == L"--headless") {
            command = TerminalCommand::Headless;
        } else if (argument == L"--stop") {
            command = TerminalCommand::Stop;
        } else if (argument == L"--wait") {
            command = TerminalCommand::Wait;
        } else if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
            command = TerminalCommand::Help;
        } else if (argument == L"--output" || argument == L"--timeout" || argument == L"--rules") {
            if (i + 1 >= arguments.size()) {
                return Fail(error, Shown(argument) + NeedsAValue);
            }
            const std::wstring& value = arguments[++i];
            bool twice = argument == L"--output" ? outputGiven : argument == L"--rules" ? rulesGiven : timeoutGiven;
            if (twice) {
                return Fail(error, GivenTwice(Shown(argument)));
            }
            if (argument == L"--output") {
                if (value.empty()) {
                    return Fail(error, OutputTakesOneName);
                }
                parsed.outputPath = value;
                outputGiven = true;
            } else if (argument == L"--rules") {
                if (value.empty()) {
                    return Fail(error, RulesTakesOneName);
                }
                parsed.rulesPath = value;
                rulesGiven = true;
            } else {
                if (!ParseSeconds(value, &parsed.timeoutSeconds)) {
                    return Fail(error, TimeoutTakesSeconds);
                }
                timeoutGiven = true;
            }
            continue;
        } else if (argument == L"--forward" || argument == L"--forward-queue") {
            if (i + 1 >= arguments.size()) {
                return Fail(error, Shown(argument) + NeedsAValue);
            }
            const std::wstring& value = arguments[++i];
            if (argument == L"--forward") {
                if (parsed.forwardTo.size() == MaxForwardCollectors) {
                    return Fail(error, FillText(TooManyCollectors, {std::to_string(MaxForwardCollectors)}));
                }
                SyslogDestination destination;
                if (!ParseSyslogDestination(value, &destination, error)) {
                    return false;
                }
                parsed.forwardTo.push_back(destination);
            } else {
                if (forwardQueueGiven) {
                    return Fail(error, GivenTwice(Shown(argument)));
                }
                if (!ParseLineCount(value, &parsed.forwardQueueLines)) {
                    return Fail(error, ForwardQueueTakesLines);
                }
                forwardQueueGiven = true;
            }
            continue;
        } else if (argument == L"--format" || argument == L"--rotate" || argument == L"--keep") {
            if (i + 1 >= arguments.size()) {
                return Fail(error, Shown(argument) + NeedsAValue);
            }
            if (!ParseOutputForm(argument, arguments[++i], &parsed, &formGiven, error)) {
                return false;
            }
            continue;
        } else {
            return Fail(error, UnknownArgument(Shown(argument)));
        }
        if (commandGiven) {
            return Fail(error, OnlyOneCommand);
        }
        parsed.command = command;
        commandGiven = true;
    }
    if (outputGiven && parsed.command != TerminalCommand::Headless) {
        return Fail(error, OutputGoesWithHeadless);
    }
    if ((!parsed.forwardTo.empty() || forwardQueueGiven) && parsed.command != TerminalCommand::Headless) {
        return Fail(error, ForwardGoesWithHeadless);
    }
    if (forwardQueueGiven && parsed.forwardTo.empty()) {
        return Fail(error, ForwardQueueWithoutForward);
    }
    if (rulesGiven && parsed.command != TerminalCommand::Window) {
        return Fail(error, RulesGoWithWindow);
    }
    if (formGiven.format && parsed.command != TerminalCommand::Headless) {
        return Fail(error, FormatGoesWithHeadless);
    }
    if (formGiven.rotate && !outputGiven) {
        return Fail(error, RotateNeedsOutput);
    }
    if (formGiven.keep && !formGiven.rotate) {
        return Fail(error, KeepGoesWithRotate);
    }
    if (timeoutGiven && parsed.command != TerminalCommand::Stop && parsed.command != TerminalCommand::Wait) {
        return Fail(error, TimeoutGoesWithStopOrWait);
    }
    *options = parsed;
    return true;
}
