// The texts the terminal's rules, files, settings and outputs show to people, in one place.
// A "{1}" ... "{9}" in a text is filled in by FillText.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// text with {1} replaced by the first value, {2} by the second, and so on; any other brace
// stays as it is.
inline std::string FillText(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string out;
    out.reserve(text.size() + 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}') {
            size_t index = static_cast<size_t>(text[i + 1] - '1');
            if (index < values.size()) {
                out += values.begin()[index];
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Regular expressions ({1}: the character position, counted from 1).
constexpr const char* PatternUnmatchedClose = "unmatched ) at character {1}";
constexpr const char* PatternMissingClose = "missing ) for the ( at character {1}";
constexpr const char* PatternNothingToRepeat = "nothing to repeat before the {2} at character {1}";
constexpr const char* PatternRepeatOfRepeat = "a repeat cannot follow a repeat ({2} at character {1})";
constexpr const char* PatternUnfinishedClass = "the [ at character {1} has no closing ]";
constexpr const char* PatternReversedRange = "the range {2} at character {1} runs backwards";
constexpr const char* PatternRepeatTooLarge = "a repeat count above 1000 at character {1}";
constexpr const char* PatternRepeatReversed = "the repeat {2} at character {1} has its larger count first";
constexpr const char* PatternTrailingBackslash = "a \\ at the end (character {1}) escapes nothing";
constexpr const char* PatternBadHexEscape = "\\x at character {1} needs two hexadecimal digits";
constexpr const char* PatternBackreference = "backreferences such as \\{2} (character {1}) are not supported";
constexpr const char* PatternUnknownEscape = "the escape \\{2} at character {1} is not supported";
constexpr const char* PatternUnsupportedGroup =
    "groups of the form (?{2} (character {1}) are not supported: lookaround, named groups and flags";
constexpr const char* PatternWideInClass = "a two-byte character cannot stand in a [ ] class (character {1})";
constexpr const char* PatternTooDeep = "groups nest deeper than 100 (character {1})";
constexpr const char* PatternTooLarge = "the expression is too large: it would take more than 20000 steps";

// Rules ({1}: the rule's number from 1, {2}: its kind, {3}: its pattern, {4}: what is wrong).
constexpr const char* RuleCompileError = "rule {1}, {2} \"{3}\": {4}";
constexpr const char* RuleNotInCodePage = "the pattern has characters that code page {1} of this system cannot hold";
constexpr const char* RuleNotConvertible = "the pattern has characters the lines' code page cannot hold";

// Outputs. The same words as the text output's notice (line_text.cpp), for JSON and syslog.
constexpr const char* DroppedNoticeText = "{1} lines lost: the output could not keep up";

// Syslog destinations ({1}: what was given).
constexpr const char* SyslogUnknownScheme =
    "unknown forwarding address \"{1}\": give syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT";
constexpr const char* SyslogNotAscii = "the forwarding address \"{1}\" has characters other than ASCII";
constexpr const char* SyslogNoHost = "the forwarding address \"{1}\" names no host";
constexpr const char* SyslogUnclosedBracket = "the forwarding address \"{1}\" opens [ for an IPv6 address but does not close it";
constexpr const char* SyslogBareIpv6 = "the forwarding address \"{1}\" has an IPv6 address: write it in brackets, as [::1]:514";
constexpr const char* SyslogBadHost = "the host in the forwarding address \"{1}\" has characters a host name cannot have";
constexpr const char* SyslogNoPort = "the forwarding address \"{1}\" has no port: give HOST:PORT";
constexpr const char* SyslogBadPort = "the port in the forwarding address \"{1}\" is not a number";
constexpr const char* SyslogPortRange = "the port in the forwarding address \"{1}\" is out of range (1 to 65535)";

// Rule files ({1}: the line number).
constexpr const char* RuleFileLineError = "line {1}: {2}";
constexpr const char* RuleFileUnknownKind = "unknown rule kind \"{1}\" (include, exclude, highlight or stop)";
constexpr const char* RuleFileNoPattern = "no pattern: give it last, in quotes ('text' or \"text\")";
constexpr const char* RuleFileUnclosedQuote = "the quote that opens at column {1} is not closed";
constexpr const char* RuleFileAfterPattern = "text after the pattern's closing quote";
constexpr const char* RuleFileUnknownOption =
    "unknown word \"{1}\" (regex, case, class=NAME, #RRGGBB, or the pattern in quotes)";
constexpr const char* RuleFileTwice = "\"{1}\" is given twice";
constexpr const char* RuleFileColourWithoutHighlight = "a colour goes only with highlight";
constexpr const char* RuleFileBadColour = "colour \"{1}\" is not #RRGGBB";
constexpr const char* RuleFileUnknownClass = "unknown class \"{1}\" (debug, log, statistic, error or separator)";
constexpr const char* RuleFileBadEscape = "\"\\{1}\" is not an escape in a \"...\" pattern (\\\\, \\\", \\xHH)";
constexpr const char* RuleFileNotUtf8 = "not UTF-8 text (save the file as UTF-8)";
constexpr const char* RuleFileLineTooLong = "longer than 65536 bytes";
constexpr const char* RuleFileTooManyRules = "more than 1000 rules";
constexpr const char* RuleFileCannotRead = "cannot read the rules file: {1}";
constexpr const char* RuleFileCannotWrite = "cannot write the rules file: {1}";
constexpr const char* RuleFileTooLarge = "the rules file is larger than 64 MB";

// Following the newest line, for the status bar.
constexpr const char* FollowingText = "following";
constexpr const char* HeldText = "not following (End follows again)";
constexpr const char* StoppedOnMatchText = "stopped on a matching line (End follows again)";

// Opening a saved log.
constexpr const char* LogNotALog =
    "this is not a log of the terminal: line {1} does not start with a time and a class (\"09:05:03.007 debug ...\")";
constexpr const char* LogCannotRead = "cannot read the file: {1}";
constexpr const char* LogSkippedLines = "{1} lines could not be read and were left out (the first is line {2})";

// Rotating output files ({1}: a file name, {2}: the system's error text).
constexpr const char* RotateCannotOpen = "cannot open the output file {1}: {2}";
constexpr const char* RotateCannotWrite = "cannot write to the output file {1}: {2}";
constexpr const char* RotateCannotRename =
    "cannot rotate the output file: renaming {1} failed: {2}; lines go on into the same file";
constexpr const char* RotateCannotDelete = "cannot rotate the output file: deleting {1} failed: {2}; lines go on into the same file";

// Settings ({1}: the value's name in the registry).
constexpr const char* SettingDamaged = "the setting {1} was not usable and its default is used";
constexpr const char* SettingRulesDamaged = "the saved rules could not be read ({1}); the terminal starts without rules";
constexpr const char* SettingsCannotSave = "cannot save the settings: {1}";
