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
constexpr const char* ProcessPrefix = "process=";
constexpr const char* RegexWord = "regex";
constexpr const char* CaseWord = "case";
constexpr const char* DisabledWord = "disabled";
constexpr const char* TextColourPrefix = "text=";
constexpr const char* MatchedWord = "matched";

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

// What a rule line has given so far.
struct RuleWords {
    Rule rule;
    bool kind = false;
    bool disabled = false;
    bool regex = false;
    bool caseSensitive = false;
    bool colour = false;
    bool textColour = false;
    bool matched = false;
    bool pattern = false;
};

// Marks a word as given; false with *error when it was already.
bool GivenOnce(bool* given, const std::string& word, std::string* error)
{
    if (*given) {
        *error = FillText(RuleFileTwice, {word});
        return false;
    }
    *given = true;
    return true;
}

// A word before the kind: disabled, or the kind itself.
bool ParseKindWord(const std::string& word, const std::string& lower, RuleWords* given, std::string* error)
{
    if (lower == DisabledWord) {
        if (!GivenOnce(&given->disabled, word, error)) {
            return false;
        }
        given->rule.enabled = false;
        return true;
    }
    static const RuleKind Kinds[] = {RuleKind::Include, RuleKind::Exclude, RuleKind::Highlight, RuleKind::StopFollowing};
    for (RuleKind kind : Kinds) {
        if (lower == RuleKindWord(kind)) {
            given->rule.kind = kind;
            given->kind = true;
            return true;
        }
    }
    *error = FillText(RuleFileUnknownKind, {word});
    return false;
}

// class=NAME, for one of the classes a user can show.
bool ParseClassWord(const std::string& word, const std::string& lower, Rule* rule, std::string* error)
{
    if (rule->onlyClass.has_value()) {
        *error = FillText(RuleFileTwice, {std::string(ClassPrefix)});
        return false;
    }
    size_t nameStart = std::string_view(ClassPrefix).size();
    LineClass lineClass = LineClass::Debug;
    if (!ClassOfLabel(lower.substr(nameStart), &lineClass) || static_cast<int>(lineClass) >= ShownClassCount) {
        *error = FillText(RuleFileUnknownClass, {word.substr(nameStart)});
        return false;
    }
    rule->onlyClass = lineClass;
    return true;
}

// process=NAME, a wildcard over the writer's image name.
bool ParseProcessWord(const std::string& word, Rule* rule, std::string* error)
{
    if (!rule->process.empty()) {
        *error = FillText(RuleFileTwice, {std::string(ProcessPrefix)});
        return false;
    }
    rule->process = word.substr(std::string_view(ProcessPrefix).size());
    if (rule->process.empty()) {
        *error = RuleFileEmptyProcess;
        return false;
    }
    return true;
}

// A highlight's colour: value (#RRGGBB) into *colour, given once (as name says in messages).
bool ParseHighlightColour(const std::string& name, const std::string& value, RuleWords* given, bool* givenFlag,
                          uint32_t* colour, std::string* error)
{
    if (given->rule.kind != RuleKind::Highlight) {
        *error = RuleFileColourWithoutHighlight;
        return false;
    }
    if (!GivenOnce(givenFlag, name, error)) {
        return false;
    }
    if (!ParseColour(value, colour)) {
        *error = FillText(RuleFileBadColour, {value});
        return false;
    }
    return true;
}

// #RRGGBB, a highlight's background.
bool ParseColourWord(const std::string& word, RuleWords* given, std::string* error)
{
    return ParseHighlightColour(word, word, given, &given->colour, &given->rule.colour, error);
}

// text=#RRGGBB, a highlight's text colour.
bool ParseTextColourWord(const std::string& word, RuleWords* given, std::string* error)
{
    uint32_t colour = 0;
    if (!ParseHighlightColour(TextColourPrefix, word.substr(std::string_view(TextColourPrefix).size()), given,
                              &given->textColour, &colour, error)) {
        return false;
    }
    given->rule.textColour = colour;
    return true;
}

// matched: a highlight marks only the text its pattern matched.
bool ParseMatchedWord(const std::string& word, RuleWords* given, std::string* error)
{
    if (given->rule.kind != RuleKind::Highlight) {
        *error = RuleFileMatchedWithoutHighlight;
        return false;
    }
    if (!GivenOnce(&given->matched, word, error)) {
        return false;
    }
    given->rule.matchedOnly = true;
    return true;
}

// A word after the kind: regex, case, class=NAME, process=NAME, a colour, text=COLOUR, matched.
bool ParseOptionWord(const std::string& word, const std::string& lower, RuleWords* given, std::string* error)
{
    if (lower == RegexWord) {
        if (!GivenOnce(&given->regex, word, error)) {
            return false;
        }
        given->rule.syntax = PatternSyntax::RegularExpression;
        return true;
    }
    if (lower == CaseWord) {
        if (!GivenOnce(&given->caseSensitive, word, error)) {
            return false;
        }
        given->rule.caseSensitive = true;
        return true;
    }
    if (lower.compare(0, std::string_view(ClassPrefix).size(), ClassPrefix) == 0) {
        return ParseClassWord(word, lower, &given->rule, error);
    }
    if (lower.compare(0, std::string_view(ProcessPrefix).size(), ProcessPrefix) == 0) {
        return ParseProcessWord(word, &given->rule, error);
    }
    if (lower.compare(0, std::string_view(TextColourPrefix).size(), TextColourPrefix) == 0) {
        return ParseTextColourWord(word, given, error);
    }
    if (lower == MatchedWord) {
        return ParseMatchedWord(word, given, error);
    }
    if (!word.empty() && word[0] == ColourMark) {
        return ParseColourWord(word, given, error);
    }
    *error = FillText(RuleFileUnknownOption, {word});
    return false;
}

// The word that starts at line[*position], up to the next blank; *position is left after it.
bool ParseRuleWord(std::string_view line, size_t* position, RuleWords* given, std::string* error)
{
    size_t end = *position;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') {
        ++end;
    }
    std::string word(line.substr(*position, end - *position));
    *position = end;
    std::string lower = Lower(word);
    return given->kind ? ParseOptionWord(word, lower, given, error) : ParseKindWord(word, lower, given, error);
}

// One line that is not blank and not a comment.
bool ParseRuleLine(std::string_view line, Rule* rule, std::string* error)
{
    RuleWords given;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (given.pattern) {
            *error = RuleFileAfterPattern;
            return false;
        }
        if (line[i] != '\'' && line[i] != '"') {
            if (!ParseRuleWord(line, &i, &given, error)) {
                return false;
            }
            continue;
        }
        if (!given.kind) {
            *error = FillText(RuleFileUnknownKind, {std::string(line.substr(i, 1))});
            return false;
        }
        if (!ParsePattern(line, &i, &given.rule.pattern, error)) {
            return false;
        }
        given.pattern = true;
    }
    if (!given.pattern) {
        *error = RuleFileNoPattern;
        return false;
    }
    if (given.rule.kind == RuleKind::Highlight && !given.colour) {
        given.rule.colour = DefaultHighlightColour;
    }
    *rule = given.rule;
    return true;
}

void AppendColour(std::string* out, uint32_t colour)
{
    *out += ColourMark;
    for (int shift = 20; shift >= 0; shift -= 4) {
        *out += UpperHexDigits[(colour >> shift) & 15];
    }
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
            AppendColour(&out, rule.colour);
            if (rule.textColour.has_value()) {
                out += ' ';
                out += TextColourPrefix;
                AppendColour(&out, *rule.textColour);
            }
            if (rule.matchedOnly) {
                out += ' ';
                out += MatchedWord;
            }
        }
        if (rule.onlyClass.has_value()) {
            out += ' ';
            out += ClassPrefix;
            out += ClassLabel(*rule.onlyClass);
        }
        if (!rule.process.empty()) {
            out += ' ';
            out += ProcessPrefix;
            out += rule.process;
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
