#include "call_script.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "method_names.h"
#include "netcfg_sim_steering.h"
#include "sim_values.h"

namespace {

const char RuleSeparator = ';';
const size_t MaxHexDigits = 8;
const unsigned long MaxCallNumber = 1000000000;

enum class RuleKind { EveryCall, NthCallOfMethod, NthCallOverall };

struct Rule {
    RuleKind kind;
    std::string method;
    unsigned long number;
    HRESULT code;
};

std::mutex ScriptLock;
std::vector<Rule> Rules;
std::map<std::string, unsigned long> CallsByMethod;
unsigned long CallsOverall = 0;

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::string();
    }
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool ParseCode(const std::string& text, HRESULT* code)
{
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X') ||
        text.size() - 2 > MaxHexDigits) {
        return false;
    }
    unsigned long value = 0;
    for (size_t i = 2; i < text.size(); ++i) {
        char c = text[i];
        unsigned long digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        value = value * 16 + digit;
    }
    *code = static_cast<HRESULT>(value);
    return true;
}

bool ParseCallNumber(const std::string& text, unsigned long* number)
{
    if (text.empty()) {
        return false;
    }
    unsigned long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
        if (value > MaxCallNumber) {
            return false;
        }
    }
    *number = value;
    return value > 0;
}

// Empty reason: the rule is good and stored in *rule.
std::string ParseRule(const std::string& text, Rule* rule)
{
    size_t equals = text.find('=');
    if (equals == std::string::npos) {
        return "no '=' before the result code";
    }
    if (!ParseCode(Trimmed(text.substr(equals + 1)), &rule->code)) {
        return "the result code is not 0x followed by 1 to 8 hexadecimal digits";
    }
    std::string target = Trimmed(text.substr(0, equals));
    size_t hash = target.find('#');
    rule->method = Trimmed(target.substr(0, hash));
    rule->number = 0;
    if (hash != std::string::npos &&
        !ParseCallNumber(Trimmed(target.substr(hash + 1)), &rule->number)) {
        return "the call number after '#' is not a whole number from 1 to 1000000000";
    }
    if (rule->method.empty()) {
        if (hash == std::string::npos) {
            return "no method name and no '#' call number";
        }
        rule->kind = RuleKind::NthCallOverall;
        return std::string();
    }
    if (!MethodNames::IsKnown(rule->method.c_str(), rule->method.size())) {
        return "unknown method name '" + rule->method + "'";
    }
    rule->kind = hash == std::string::npos ? RuleKind::EveryCall : RuleKind::NthCallOfMethod;
    return std::string();
}

std::string ReadScript()
{
    std::wstring wide = EnvironmentValue(NetCfgSimScriptVariable);
    // Names and codes are ASCII; anything else makes its rule malformed, which is reported.
    std::string narrow;
    for (wchar_t c : wide) {
        narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    return narrow;
}

const Rule* Match(RuleKind kind, const char* method, unsigned long number)
{
    for (const Rule& rule : Rules) {
        if (rule.kind == kind && (kind == RuleKind::NthCallOverall || rule.method == method) &&
            (kind == RuleKind::EveryCall || rule.number == number)) {
            return &rule;
        }
    }
    return nullptr;
}

} // namespace

namespace CallScript {

void Reload()
{
    std::string script = ReadScript();
    std::vector<Rule> parsed;
    size_t start = 0;
    while (start <= script.size()) {
        size_t end = script.find(RuleSeparator, start);
        if (end == std::string::npos) {
            end = script.size();
        }
        std::string text = Trimmed(script.substr(start, end - start));
        if (!text.empty()) {
            Rule rule;
            std::string reason = ParseRule(text, &rule);
            if (reason.empty()) {
                parsed.push_back(rule);
            } else {
                std::fprintf(stderr, "netcfg_sim: ignoring script rule \"%s\": %s\n", text.c_str(),
                             reason.c_str());
                std::fflush(stderr);
            }
        }
        start = end + 1;
    }

    std::lock_guard<std::mutex> lock(ScriptLock);
    Rules.swap(parsed);
    CallsByMethod.clear();
    CallsOverall = 0;
}

Verdict CountCall(const char* method)
{
    std::lock_guard<std::mutex> lock(ScriptLock);
    unsigned long overall = ++CallsOverall;
    unsigned long ofMethod = ++CallsByMethod[method];

    const Rule* rule = Match(RuleKind::NthCallOverall, method, overall);
    if (rule == nullptr) {
        rule = Match(RuleKind::NthCallOfMethod, method, ofMethod);
    }
    if (rule == nullptr) {
        rule = Match(RuleKind::EveryCall, method, 0);
    }
    if (rule == nullptr) {
        return Verdict{false, S_OK};
    }
    return Verdict{true, rule->code};
}

} // namespace CallScript
