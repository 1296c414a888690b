// Rule sets as text: the --rules file, File > Export and Import, and the rules kept in the
// registry. One rule a line; blank lines and lines starting with # are left out.
//
//   [disabled] KIND [#RRGGBB] [text=#RRGGBB] [matched] [class=CLASS] [process=NAME] [regex] [case] PATTERN
//
// KIND: include, exclude, highlight (its colour is #RRGGBB, the background; yellow when not
// given; text= the text's colour, black or white when not given; matched: only the text the
// pattern matched is marked, not the row) or stop (stop following). class=: debug, log, statistic, error, separator or ods.
// process=: the image name of the program that wrote an ods line, whatever the case, * and ? as
// wildcards (a blank in a name is matched by ?); a rule naming one matches only ods lines. regex: the
// pattern is a regular expression (else plain text); case: upper and lower case differ. Words
// may stand in any order and any case; the pattern comes last, in quotes:
//   'text'   as it stands, a ' inside written ''           (how patterns are written)
//   "text"   with escapes \\ \" and \xHH                    (for patterns holding control characters;
//            the pattern, escapes undone, is UTF-8 still)
// A file is UTF-8 (a leading byte order mark is skipped), lines end in \n or \r\n.
// FormatRuleText writes the canonical form: words in the order above, lower case, colours in
// upper case, '...' unless the pattern has a control character; ParseRuleText reads it back to the
// same rules, and formatting them again gives the same text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "line_rules.h"

constexpr size_t MaxRuleCount = 1000;
constexpr size_t MaxRuleLineBytes = 65536;
constexpr uint32_t DefaultHighlightColour = 0xFFFF80;  // light yellow
// The first line FormatRuleText writes.
constexpr const char* RuleFileHeader = "# vornak-terminal rules: [disabled] KIND [#RRGGBB] [text=#RRGGBB] [matched] [class=CLASS] [process=NAME] [regex] [case] 'PATTERN'";

// On failure returns false with *error naming the line and what is wrong ("line 3: unknown rule
// kind \"inclde\" ..."); *rules is then left as it was.
bool ParseRuleText(std::string_view text, std::vector<Rule>* rules, std::string* error);

// The canonical text of rules: the header line, then one rule a line, each ending in "\r\n".
std::string FormatRuleText(const std::vector<Rule>& rules);

// A rules file (--rules FILE, File > Import). False with *error: the file cannot be read, or the
// reason ParseRuleText gives.
bool ReadRuleFile(const std::wstring& path, std::vector<Rule>* rules, std::string* error);

// File > Export: writes FormatRuleText(rules) to path, replacing it.
bool WriteRuleFile(const std::wstring& path, const std::vector<Rule>& rules, std::string* error);
