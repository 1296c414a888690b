// What a rule set costs each line, measured on lines the terminal holds: the window judges every
// arriving line once, on its own thread, and keeps up only with as many lines a second as that
// cost allows.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "line_rules.h"

struct RuleCost {
    bool measured = false;  // some rule was timed on some line
    bool cutShort = false;  // the time allowed ran out before every rule was timed
    size_t costliest = 0;   // index in the rules of the enabled rule that costs most
    double costliestMs = 0;  // its cost a line
    double totalMs = 0;      // the cost a line of the rules timed
};

// Times each enabled rule alone on sample, for at most budgetMs in all.
RuleCost MeasureRuleCost(const std::vector<Rule>& rules, const LineEncoding& encoding,
                         const std::vector<StoredLine>& sample, double budgetMs);

// The lines a second the window keeps up with at that cost, judging lines on the given share of
// its thread's time.
double LinesPerSecondKeptUpWith(const RuleCost& cost, double shareOfThread);

// What the rules dialog says when the rules cost more than the window keeps up with (fewer than
// KeptUpLinesPerSecond); empty when they do not.
std::string RuleCostWarning(const std::vector<Rule>& rules, const RuleCost& cost, double shareOfThread);

// Below this many lines a second the rules dialog warns.
constexpr double KeptUpLinesPerSecond = 1000;
