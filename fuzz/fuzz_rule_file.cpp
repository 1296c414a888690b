// Rule files (terminal/rule_file.*, line_rules.*): any bytes read as a rules file. What is read
// formats back to text that reads as the same rules and formats to the same text again (the
// round trip File > Export and Import make); a refusal names a line the text has. Rules read are
// compiled as the window compiles them, and a rule refused then is one that exists and is on.
//
// Input: the file's bytes.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <string_view>
#include <vector>

#include "fuzz_checks.h"
#include "line_rules.h"
#include "rule_file.h"

namespace {

// Lines as the reader counts them: after a byte order mark, up to each "\n", and what is left.
size_t LineCount(std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    size_t count = 0;
    for (char c : text) {
        count += c == '\n' ? 1 : 0;
    }
    return count + (!text.empty() && text.back() != '\n' ? 1 : 0);
}

// The number after prefix at the start of text; 0 when there is none.
size_t NumberAfter(const std::string& text, const std::string& prefix, const std::string& after)
{
    if (text.compare(0, prefix.size(), prefix) != 0) {
        return 0;
    }
    size_t number = 0;
    size_t i = prefix.size();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && i < prefix.size() + 9; ++i) {
        number = number * 10 + static_cast<size_t>(text[i] - '0');
    }
    return text.compare(i, after.size(), after) == 0 ? number : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<Rule> rules;
    std::string error;
    if (!ParseRuleText(text, &rules, &error)) {
        size_t line = NumberAfter(error, "line ", ": ");
        FUZZ_CHECK(line >= 1 && line <= LineCount(text), error.c_str());
        FUZZ_CHECK(rules.empty(), "a refused file leaves the rules as they were");
        return 0;
    }
    FUZZ_CHECK(rules.size() <= MaxRuleCount, "at most 1000 rules");

    std::string formatted = FormatRuleText(rules);
    std::vector<Rule> again;
    FUZZ_CHECK(ParseRuleText(formatted, &again, &error), error.c_str());
    FUZZ_CHECK(again == rules, "the formatted rules read back as the same rules");
    FUZZ_CHECK(FormatRuleText(again) == formatted, "the formatted rules format to the same text again");

    RuleSet set;
    if (!set.Compile(rules, Utf8LineEncoding(), &error)) {
        size_t rule = NumberAfter(error, "rule ", ", ");
        FUZZ_CHECK(rule >= 1 && rule <= rules.size() && rules[rule - 1].enabled, error.c_str());
    }
    return 0;
}
