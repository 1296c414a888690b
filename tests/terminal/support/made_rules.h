// Rules as a rule file or the rules dialog would give them, for the tests of the terminal's parts.
#pragma once

#include <string>

#include "line_rules.h"

inline Rule MakeRule(RuleKind kind, const std::string& pattern, PatternSyntax syntax = PatternSyntax::PlainText)
{
    Rule rule;
    rule.kind = kind;
    rule.pattern = pattern;
    rule.syntax = syntax;
    return rule;
}
