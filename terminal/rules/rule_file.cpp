#include "rule_file.h"

#include <windows.h>

#include "ascii_text.h"
#include "backslash_escape.h"
#include "line_text.h"
#include "system_error_text.h"
#include "terminal_texts.h"

namespace {

constexpr size_t MaxRuleFileBytes = 64u << 20;
constexpr char ColourMark = '#';
constexpr const char* ClassPrefix = "class=";
constexpr const char* RegexWord = "regex";
constexpr const char* CaseWord = "case";
constexpr const char* DisabledWord = "disabled";

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool ValidUtf8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        uint32_t code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
            return false;
        }
        i += length;
    }
    return true;
}

bool ParseColour(std::string_view word, uint32_t* colour)
{
    if (word.size() != 7 || word[0] != ColourMark) {
        return false;
    }
    uint32_t value = 0;
    for (size_t i = 1; i < 7; ++i) {
        int digit = HexDigitValue(word[i]);
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    *colour = value;
    return true;
}

bool HasControlCharacter(std::string_view text)
{
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return true;
        }
    }
    return false;
}

// Reads the quoted pattern starting at line[*position]; false with *error.
bool ParsePattern(std::string_view line, size_t* position, std::string* pattern, std::string* error)
{
    size_t open = *position;
    char quote = line[open];
    std::string out;
    size_t i = open + 1;
    for (;;) {
        if (i >= line.size()) {
            *error = FillText(RuleFileUnclosedQuote, {std::to_string(open + 1)});
            return false;
        }
        char c = line[i];
        if (quote == '\'') {
            if (c == '\'') {
                if (i + 1 < line.size() && line[i + 1] == '\'') {
                    out += '\'';
                    i += 2;
                    continue;
                }
                break;
            }
            out += c;
            ++i;
            continue;
        }
        if (c == '"') {
            break;
        }
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (next == '\\' || next == '"') {
            out += next;
            i += 2;
            continue;
        }
        int high = next == 'x' && i + 3 < line.size() ? HexDigitValue(line[i + 2]) : -1;
        int low = high >= 0 ? HexDigitValue(line[i + 3]) : -1;
        if (low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 4;
            continue;
        }
        *error = FillText(RuleFileBadEscape, {std::string(1, next)});
        return false;
    }
    // Escapes give bytes: a pattern is UTF-8 like the rest of the file, or it would not be again
    // once written out.
    if (!ValidUtf8(out)) {
        *error = RuleFileEscapesNotUtf8;
        return false;
    }
    *position = i + 1;
    *pattern = out;
    return true;
}

// One line that is not blank and not a comment.
bool ParseRuleLine(std::string_view line, Rule* rule, std::string* error)
{
    Rule parsed;
    bool kindGiven = false;
    bool colourGiven = false;
    bool regexGiven = false;
    bool caseGiven = false;
    bool disabledGiven = false;
    bool patternGiven = false;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (patternGiven) {
            *error = RuleFileAfterPattern;
            return false;
        }
        if (line[i] == '\'' || line[i] == '"') {
            if (!kindGiven) {
                *error = FillText(RuleFileUnknownKind, {std::string(line.substr(i, 1))});
                return false;
            }
            if (!ParsePattern(line, &i, &parsed.pattern, error)) {
                return false;
            }
            patternGiven = true;
            continue;
        }
        size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') {
            ++end;
        }
        std::string word(line.substr(i, end - i));
        std::string lower = Lower(word);
        i = end;
        auto once = [&](bool* given) {
            if (*given) {
                *error = FillText(RuleFileTwice, {word});
                return false;
            }
            *given = true;
            return true;
        };
        if (!kindGiven) {
            if (lower == DisabledWord) {
                if (!once(&disabledGiven)) {
                    return false;
                }
                parsed.enabled = false;
                continue;
            }
            static const RuleKind Kinds[] = {RuleKind::Include, RuleKind::Exclude, RuleKind::Highlight,
                                             RuleKind::StopFollowing};
            bool known = false;
            for (RuleKind kind : Kinds) {
                if (lower == RuleKindWord(kind)) {
                    parsed.kind = kind;
                    known = true;
                }
            }
            if (!known) {
                *error = FillText(RuleFileUnknownKind, {word});
                return false;
            }
            kindGiven = true;
            continue;
        }
        if (lower == RegexWord) {
            if (!once(&regexGiven)) {
                return false;
            }
            parsed.syntax = PatternSyntax::RegularExpression;
        } else if (lower == CaseWord) {
            if (!once(&caseGiven)) {
                return false;
            }
            parsed.caseSensitive = true;
        } else if (lower.compare(0, std::string_view(ClassPrefix).size(), ClassPrefix) == 0) {
            if (parsed.onlyClass.has_value()) {
                *error = FillText(RuleFileTwice, {std::string(ClassPrefix)});
                return false;
            }
            LineClass lineClass = LineClass::Debug;
            std::string name = lower.substr(std::string_view(ClassPrefix).size());
            if (!ClassOfLabel(name, &lineClass) || static_cast<int>(lineClass) >= ShownClassCount) {
                *error = FillText(RuleFileUnknownClass, {word.substr(std::string_view(ClassPrefix).size())});
                return false;
            }
            parsed.onlyClass = lineClass;
        } else if (!word.empty() && word[0] == ColourMark) {
            if (parsed.kind != RuleKind::Highlight) {
                *error = RuleFileColourWithoutHighlight;
                return false;
            }
            if (!once(&colourGiven)) {
                return false;
            }
            if (!ParseColour(word, &parsed.colour)) {
                *error = FillText(RuleFileBadColour, {word});
                return false;
            }
        } else {
            *error = FillText(RuleFileUnknownOption, {word});
            return false;
        }
    }
    if (!patternGiven) {
        *error = RuleFileNoPattern;
        return false;
    }
    if (parsed.kind == RuleKind::Highlight && !colourGiven) {
        parsed.colour = DefaultHighlightColour;
    }
    *rule = parsed;
    return true;
}

std::string QuotedPattern(const std::string& pattern)
{
    std::string out;
    if (!HasControlCharacter(pattern)) {
        out += '\'';
        for (char c : pattern) {
            out += c;
            if (c == '\'') {
                out += '\'';
            }
        }
        out += '\'';
        return out;
    }
    out += '"';
    AppendBackslashEscaped(&out, pattern, "\\x");
    out += '"';
    return out;
}

} // namespace

bool ParseRuleText(std::string_view text, std::vector<Rule>* rules, std::string* error)
{
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<Rule> parsed;
    size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        std::string why;
        if (line.size() > MaxRuleLineBytes) {
            why = FillText(RuleFileLineTooLong, {std::to_string(MaxRuleLineBytes)});
        } else if (!ValidUtf8(line)) {
            why = RuleFileNotUtf8;
        } else {
            size_t first = line.find_first_not_of(" \t");
            if (first == std::string_view::npos || line[first] == '#') {
                continue;
            }
            Rule rule;
            if (ParseRuleLine(line, &rule, &why)) {
                if (parsed.size() >= MaxRuleCount) {
                    why = FillText(RuleFileTooManyRules, {std::to_string(MaxRuleCount)});
                } else {
                    parsed.push_back(std::move(rule));
                    continue;
                }
            }
        }
        *error = FillText(RuleFileLineError, {std::to_string(lineNumber), why});
        return false;
    }
    *rules = std::move(parsed);
    return true;
}

std::string FormatRuleText(const std::vector<Rule>& rules)
{
    std::string out = RuleFileHeader;
    out += "\r\n";
    for (const Rule& rule : rules) {
        if (!rule.enabled) {
            out += DisabledWord;
            out += ' ';
        }
        out += RuleKindWord(rule.kind);
        if (rule.kind == RuleKind::Highlight) {
            out += ' ';
            out += ColourMark;
            for (int shift = 20; shift >= 0; shift -= 4) {
                out += UpperHexDigits[(rule.colour >> shift) & 15];
            }
        }
        if (rule.onlyClass.has_value()) {
            out += ' ';
            out += ClassPrefix;
            out += ClassLabel(*rule.onlyClass);
        }
        if (rule.syntax == PatternSyntax::RegularExpression) {
            out += ' ';
            out += RegexWord;
        }
        if (rule.caseSensitive) {
            out += ' ';
            out += CaseWord;
        }
        out += ' ';
        out += QuotedPattern(rule.pattern);
        out += "\r\n";
    }
    return out;
}

bool ReadRuleFile(const std::wstring& path, std::vector<Rule>* rules, std::string* error)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = FillText(RuleFileCannotRead, {SystemErrorText(GetLastError())});
        return false;
    }
    std::string text;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof(buffer), &got, NULL)) {
            *error = FillText(RuleFileCannotRead, {SystemErrorText(GetLastError())});
            ok = false;
            break;
        }
        if (got == 0) {
            break;
        }
        if (text.size() + got > MaxRuleFileBytes) {
            *error = FillText(RuleFileTooLarge, {std::to_string(MaxRuleFileBytes >> 20)});
            ok = false;
            break;
        }
        text.append(buffer, got);
    }
    CloseHandle(file);
    return ok && ParseRuleText(text, rules, error);
}

bool WriteRuleFile(const std::wstring& path, const std::vector<Rule>& rules, std::string* error)
{
    std::string text = FormatRuleText(rules);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = FillText(RuleFileCannotWrite, {SystemErrorText(GetLastError())});
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, NULL) && written == text.size();
    if (!ok) {
        *error = FillText(RuleFileCannotWrite, {SystemErrorText(GetLastError())});
    }
    CloseHandle(file);
    return ok;
}
