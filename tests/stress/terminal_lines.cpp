#include "terminal_lines.h"

LineMessages RegisteredLineMessages()
{
    return LineMessages{RegisterWindowMessageA("*WM_DEBUG_MESSAGE"),
                        RegisterWindowMessageA("*WM_LOG_MESSAGE"),
                        RegisterWindowMessageA("*WM_STATISTIC_MESSAGE"),
                        RegisterWindowMessageA("*WM_ERROR_MESSAGE")};
}

std::ostream& operator<<(std::ostream& out, const TerminalLine& line)
{
    std::string text;
    for (char c : line.text) {
        text += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out << "{0x" << std::hex << line.message << std::dec << ", " << line.letter << ", \"" << text
               << "\"}";
}

std::vector<TerminalLine> LinesOf(const std::vector<TerminalRecord>& records)
{
    std::vector<TerminalLine> lines;
    lines.reserve(records.size());
    for (const TerminalRecord& record : records) {
        std::string text = record.text;
        if (record.atom == 0) {
            text = "(no atom)";
        } else if (text.empty()) {
            text = "(unreadable atom)";
        }
        lines.push_back(TerminalLine{record.message, record.letter, text});
    }
    return lines;
}

size_t AtomsStillHeld(const std::vector<std::string>& texts)
{
    size_t held = 0;
    for (const std::string& text : texts) {
        held += GlobalFindAtomA(text.c_str()) != 0;
    }
    return held;
}
