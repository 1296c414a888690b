#include "rule_cost.h"

#include <windows.h>

#include <stdio.h>

#include "terminal_texts.h"

namespace {

double MillisecondsSince(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Rounded(double value)
{
    char text[32];
    snprintf(text, sizeof(text), value >= 10 ? "%.0f" : value >= 1 ? "%.1f" : "%.2f", value);
    return text;
}

} // namespace

RuleCost MeasureRuleCost(const std::vector<Rule>& rules, const LineEncoding& encoding,
                         const std::vector<StoredLine>& sample, double budgetMs)
{
    RuleCost cost;
    LARGE_INTEGER frequency;
    LARGE_INTEGER began;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&began);
    for (size_t i = 0; i < rules.size() && !sample.empty(); ++i) {
        RuleSet alone;
        std::string error;
        if (!rules[i].enabled || !alone.Compile({rules[i]}, encoding, &error)) {
            continue;
        }
        LARGE_INTEGER ruleBegan;
        QueryPerformanceCounter(&ruleBegan);
        size_t judged = 0;
        for (const StoredLine& line : sample) {
            alone.Mark(line);
            ++judged;
            if (MillisecondsSince(began, frequency) > budgetMs) {
                cost.cutShort = true;
                break;
            }
        }
        double perLine = MillisecondsSince(ruleBegan, frequency) / static_cast<double>(judged);
        cost.totalMs += perLine;
        if (!cost.measured || perLine > cost.costliestMs) {
            cost.costliest = i;
            cost.costliestMs = perLine;
        }
        cost.measured = true;
        if (cost.cutShort) {
            break;
        }
    }
    return cost;
}

double LinesPerSecondKeptUpWith(const RuleCost& cost, double shareOfThread)
{
    return cost.totalMs <= 0 ? 1e12 : shareOfThread * 1000.0 / cost.totalMs;
}

std::string RuleCostWarning(const std::vector<Rule>& rules, const RuleCost& cost, double shareOfThread)
{
    double rate = LinesPerSecondKeptUpWith(cost, shareOfThread);
    if (!cost.measured || rate >= KeptUpLinesPerSecond) {
        return std::string();
    }
    const Rule& rule = rules[cost.costliest];
    return FillText(cost.cutShort ? RulesCostAtLeast : RulesCost,
                    {std::to_string(cost.costliest + 1), RuleKindWord(rule.kind), ShownRulePattern(rule.pattern),
                     Rounded(cost.costliestMs), Rounded(rate)});
}
