// Figures of the line store at the window's default depth: what a kept line of about 40
// characters costs beyond its text, a new filter of 10 rules over every kept line (judged in the
// slices the window judges in), and Find from the first line to the only match, the last.
#include <windows.h>
#include <psapi.h>

#include <stdio.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench_rules.h"
#include "line_encoding.h"
#include "line_find.h"
#include "line_rules.h"
#include "line_store.h"
#include "rule_file.h"
#include "timing.h"

namespace {

constexpr size_t Lines = 2000000;
constexpr int Runs = 5;
constexpr size_t SliceLines = 4096;  // as the window judges
constexpr double LineBytesTarget = 64;
constexpr double CommitTargetMb = 250;
constexpr double FilterTargetSeconds = 1.5;
constexpr double FindTargetSeconds = 1.0;

const char* Verdict(bool met)
{
    return met ? "met" : "NOT met";
}

// About 40 characters, as a host's line usually is.
std::string LineText(size_t line)
{
    return "Bench worker " + std::to_string(line % 4) + " : line " + std::to_string(line) + " of thread " +
           std::to_string(line % 4);
}

double CommitMb()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof(counters));
    size_t bytes = counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

void Fill(LineStore* store, size_t* textBytes)
{
    *textBytes = 0;
    for (size_t i = 0; i < Lines; ++i) {
        ReceivedLine line;
        line.lineClass = i % 10 == 0 ? LineClass::Log : (i % 17 == 0 ? LineClass::Error : LineClass::Debug);
        line.text = LineText(i) + "\n";
        *textBytes += line.text.size();
        store->Append(std::move(line));
    }
}

} // namespace

int main()
{
    LineEncoding encoding = SystemLineEncoding();
    std::vector<Rule> rules;
    std::string error;
    RuleSet ruleSet;
    if (!ParseRuleText(BenchRules, &rules, &error) || !ruleSet.Compile(rules, encoding, &error)) {
        fprintf(stderr, "history-bench: the rules do not compile: %s\n", error.c_str());
        return 1;
    }

    std::vector<double> lineBytes;
    std::vector<double> commitMb;
    for (int run = 0; run < Runs; ++run) {
        double before = CommitMb();
        LineStore store(Lines, Lines / 10);
        size_t textBytes = 0;
        Fill(&store, &textBytes);
        double after = CommitMb();
        commitMb.push_back(after - before);
        lineBytes.push_back(((after - before) * 1024.0 * 1024.0 - static_cast<double>(textBytes)) / Lines);
    }
    double perLine = Median(lineBytes);
    double commit = Median(commitMb);
    printf("Memory a kept line of about 40 characters takes beyond its text: %.1f bytes (target <= %.0f: %s)\n",
           perLine, LineBytesTarget, Verdict(perLine <= LineBytesTarget));
    printf("Commit charge of %zu such lines: %.1f MB (target < %.0f MB: %s)\n", Lines, commit, CommitTargetMb,
           Verdict(commit < CommitTargetMb));

    LineStore store(Lines, Lines / 10);
    size_t textBytes = 0;
    Fill(&store, &textBytes);
    auto judge = [&ruleSet](const StoredLine& line) { return ruleSet.Mark(line); };
    std::vector<double> filterSeconds;
    for (int run = 0; run < Runs; ++run) {
        store.SetJudge(nullptr);
        double began = Now();
        store.BeginJudging(judge);
        while (!store.JudgeSome(SliceLines)) {
        }
        store.FinishJudging();
        filterSeconds.push_back(Now() - began);
    }
    double filter = Median(filterSeconds);
    printf("A new filter of 10 rules over %zu kept lines, in slices of %zu: %.3f s (%zu shown; target < %.1f s: %s)\n",
           Lines, SliceLines, filter, store.ShownCount(), FilterTargetSeconds, Verdict(filter < FilterTargetSeconds));

    // Every line shown, and the only match the last: Find reads each of them once.
    store.SetJudge(nullptr);
    LineFinder finder;
    std::string wanted = "line " + std::to_string(Lines - 1) + " of";
    if (!finder.SetSearch(wanted, PatternSyntax::PlainText, false, encoding, &error)) {
        fprintf(stderr, "history-bench: the search is refused: %s\n", error.c_str());
        return 1;
    }
    std::vector<double> findSeconds;
    FindResult found;
    for (int run = 0; run < Runs; ++run) {
        double began = Now();
        found = finder.Find(store, 0, FindDirection::Next);
        findSeconds.push_back(Now() - began);
    }
    double find = Median(findSeconds);
    printf("Find from the first of %zu shown lines to the only match, the last: %.3f s (row %zu; target < %.1f s: %s)\n",
           store.ShownCount(), find, found.row, FindTargetSeconds, Verdict(find < FindTargetSeconds));
    return 0;
}
