#include "captured_lines.h"

#include "ansi_text.h"
#include "wide_text.h"

std::string AnsiProcessName(const std::wstring& name)
{
    std::string ansi;
    if (Utf8ToAnsi(WideToUtf8(name), 0, &ansi)) {
        return ansi;
    }
    ansi.clear();
    for (wchar_t c : name) {
        ansi += c < 0x80 ? static_cast<char>(c) : '?';
    }
    return ansi;
}

std::vector<ReceivedLine> CapturedLines(CapturedText&& text)
{
    // A writer most often writes many texts in a row: its name is converted once for them.
    thread_local std::wstring lastName;
    thread_local std::string lastAnsiName;
    if (text.processName != lastName) {
        lastAnsiName = AnsiProcessName(text.processName);
        lastName = text.processName;
    }
    const std::string& processName = lastAnsiName;
    std::vector<ReceivedLine> lines(text.lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        ReceivedLine& line = lines[i];
        line.arrivalMsOfDay = text.arrival.msOfDay;
        line.arrivalUtcMs = text.arrival.utcMs;
        line.utcOffsetMinutes = text.arrival.offsetMinutes;
        line.lineClass = LineClass::Ods;
        line.text = std::move(text.lines[i]);
        line.processId = text.processId;
        line.processName = processName;
    }
    return lines;
}
