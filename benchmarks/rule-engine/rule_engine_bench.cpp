// rule-engine-bench: what the terminal's rules cost, with its own pattern automaton and with the
// C++ library's std::regex doing the same matching. Prints figures; a program, never a test.
//
// Lines: 100,000 generated lines of the shape hosts send (task name, words, numbers, an address,
// now and then bytes above 0x7F), every class. Rules: 10, five exclude and five highlight, plain
// texts and regular expressions, some case-insensitive, one restricted to a class.
#include <stdio.h>

#include <chrono>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "line_rules.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t LineCount = 100000;
// About the rate at which lines reach the window from four host threads under Wine.
constexpr double ArrivingLinesPerSecond = 10000;

std::vector<ReceivedLine> MakeLines()
{
    static const char* const Tasks[] = {"Scanner", "Uploader", "Poller", "Parser", "Main"};
    static const char* const Words[] = {"packet", "received", "heartbeat", "queue", "buffer", "retry",
                                        "disk", "Timeout", "session", "caf\xE9", "keepalive", "verbose"};
    std::vector<ReceivedLine> lines;
    lines.reserve(LineCount);
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFF;
    };
    for (size_t i = 0; i < LineCount; ++i) {
        ReceivedLine line;
        line.lineClass = static_cast<LineClass>(next() % 4);
        std::string text = std::string(Tasks[next() % 5]) + " : ";
        int words = 3 + static_cast<int>(next() % 6);
        for (int w = 0; w < words; ++w) {
            text += Words[next() % 12];
            text += ' ';
            if (next() % 3 == 0) {
                text += "len=" + std::to_string(next() % 2000) + " ";
            }
        }
        if (next() % 50 == 0) {
            text += "timeout after " + std::to_string(next()) + " ms ";
        }
        if (next() % 40 == 0) {
            text += "at 0x" + std::to_string(10000000 + next() % 89999999) + " ";
        }
        text += "from 10.0." + std::to_string(next() % 256) + "." + std::to_string(next() % 256) + "\n";
        line.text = text;
        lines.push_back(std::move(line));
    }
    return lines;
}

// Lines of the most a line can hold (254 bytes and its line feed) of every printable and high byte:
// the worst a host can send, for the cost per line at its highest.
std::vector<ReceivedLine> MakeLongLines()
{
    std::vector<ReceivedLine> lines(LineCount);
    unsigned seed = 777;
    for (ReceivedLine& line : lines) {
        line.text.resize(254);
        for (char& c : line.text) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(0x20 + (seed >> 16) % 0xE0);
        }
        line.text += '\n';
    }
    return lines;
}

Rule MakeRule(RuleKind kind, PatternSyntax syntax, const char* pattern, bool caseSensitive = false,
              uint32_t colour = 0)
{
    Rule rule;
    rule.kind = kind;
    rule.syntax = syntax;
    rule.pattern = pattern;
    rule.caseSensitive = caseSensitive;
    rule.colour = colour;
    return rule;
}

std::vector<Rule> TenRules()
{
    using K = RuleKind;
    using S = PatternSyntax;
    std::vector<Rule> rules = {
        MakeRule(K::Exclude, S::PlainText, "heartbeat received keepalive"),
        MakeRule(K::Exclude, S::RegularExpression, "^Poller : (queue|buffer) len=1\\d\\d\\b", true),
        MakeRule(K::Exclude, S::PlainText, "verbose verbose"),
        MakeRule(K::Exclude, S::RegularExpression, "len=(0|1)\\b"),
        MakeRule(K::Exclude, S::PlainText, "SESSION SESSION SESSION"),
        MakeRule(K::Highlight, S::PlainText, "error", false, 0xFFC0C0),
        MakeRule(K::Highlight, S::RegularExpression, "timeout after \\d+ ms", false, 0xFFE0A0),
        MakeRule(K::Highlight, S::PlainText, "disk disk", true, 0xC0C0FF),
        MakeRule(K::Highlight, S::RegularExpression, "0x[0-9a-f]{8}", false, 0xC0FFC0),
        MakeRule(K::Highlight, S::RegularExpression, "(retry|again) (retry|again)", false, 0xE0E0E0),
    };
    rules[2].onlyClass = LineClass::Debug;
    return rules;
}

// The same rules with std::regex: plain texts escaped, case-insensitive ones with icase.
struct StdRule {
    RuleKind kind;
    bool anyClass;
    LineClass lineClass;
    std::regex expression;
};

std::vector<StdRule> StdRules(const std::vector<Rule>& rules)
{
    std::vector<StdRule> out;
    for (const Rule& rule : rules) {
        auto flags = std::regex::ECMAScript | std::regex::optimize;
        if (!rule.caseSensitive) {
            flags |= std::regex::icase;
        }
        std::string pattern = rule.syntax == PatternSyntax::PlainText ? LiteralExpression(rule.pattern) : rule.pattern;
        out.push_back(StdRule{rule.kind, !rule.onlyClass.has_value(), rule.onlyClass.value_or(LineClass::Debug),
                              std::regex(pattern, flags)});
    }
    return out;
}

bool StdMatches(const StdRule& rule, const ReceivedLine& line, const std::string& text)
{
    return (rule.anyClass || rule.lineClass == line.lineClass) && std::regex_search(text, rule.expression);
}

// Shown, highlighted and stop, as RuleSet::Evaluate works them out.
LineVerdict StdEvaluate(const std::vector<StdRule>& rules, const ReceivedLine& line)
{
    std::string scratch;
    std::string text(MatchedText(line, &scratch));
    LineVerdict verdict;
    bool filterDecided = false;
    bool highlightDecided = false;
    for (const StdRule& rule : rules) {
        bool isFilter = rule.kind == RuleKind::Include || rule.kind == RuleKind::Exclude;
        if ((isFilter && filterDecided) || (rule.kind == RuleKind::Highlight && highlightDecided)) {
            continue;
        }
        if (StdMatches(rule, line, text)) {
            if (isFilter) {
                verdict.shown = rule.kind == RuleKind::Include;
                filterDecided = true;
            } else if (rule.kind == RuleKind::Highlight) {
                verdict.highlighted = true;
                highlightDecided = true;
            }
        }
    }
    return verdict;
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

struct Figures {
    double evaluateSeconds;  // every rule kind over all lines
    double filterSeconds;    // include/exclude over all lines, building the list of shown rows
    size_t shown;
    size_t highlighted;
};

template <typename Evaluate, typename Shows>
Figures Measure(const std::vector<ReceivedLine>& lines, Evaluate evaluate, Shows shows)
{
    Figures figures{};
    // The best of three runs: the machine is shared.
    figures.evaluateSeconds = 1e9;
    figures.filterSeconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        Clock::time_point began = Clock::now();
        size_t highlighted = 0;
        for (const ReceivedLine& line : lines) {
            highlighted += evaluate(line).highlighted ? 1 : 0;
        }
        figures.evaluateSeconds = std::min(figures.evaluateSeconds, Seconds(began));
        figures.highlighted = highlighted;

        began = Clock::now();
        std::vector<size_t> shownRows;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (shows(lines[i])) {
                shownRows.push_back(i);
            }
        }
        figures.filterSeconds = std::min(figures.filterSeconds, Seconds(began));
        figures.shown = shownRows.size();
    }
    return figures;
}

void PrintRow(const char* name, const Figures& figures)
{
    double perLineUs = figures.evaluateSeconds / LineCount * 1e6;
    printf("%-34s %12.0f %10.2f %9.1f%% %12.3f %s\n", name, LineCount / figures.evaluateSeconds, perLineUs,
           perLineUs * ArrivingLinesPerSecond / 1e4, figures.filterSeconds,
           figures.filterSeconds < 0.3 ? "yes" : "NO");
}

// A pattern that makes a backtracking engine try every way of splitting a run of x.
void PrintPathological()
{
    printf("\nPattern (x+x+)+y against a run of x without y (backtracking grows as 2^n):\n");
    printf("%6s %16s %16s\n", "n", "std::regex (s)", "terminal (s)");
    for (int n : {12, 16, 20}) {
        std::string text(static_cast<size_t>(n), 'x');
        std::regex expression("(x+x+)+y");
        Clock::time_point began = Clock::now();
        bool found = std::regex_search(text, expression);
        double standard = Seconds(began);
        TextPattern pattern;
        std::string error;
        pattern.Compile("(x+x+)+y", PatternSyntax::RegularExpression, true, AsciiCodePage(), &error);
        began = Clock::now();
        found |= pattern.Matches(text);
        double ours = Seconds(began);
        printf("%6d %16.6f %16.6f%s\n", n, standard, ours, found ? " (found?!)" : "");
    }
}

} // namespace

int main()
{
    std::vector<ReceivedLine> lines = MakeLines();
    std::vector<Rule> rules = TenRules();
    RuleSet ruleSet;
    std::string error;
    if (!ruleSet.Compile(rules, Utf8LineEncoding(), &error)) {
        fprintf(stderr, "rule-engine-bench: %s\n", error.c_str());
        return 1;
    }
    std::vector<StdRule> stdRules = StdRules(rules);

    printf("%zu lines, 10 rules (5 exclude, 5 highlight; plain texts and regular expressions)\n", LineCount);
    printf("Share of the window's thread: evaluation time per line x %.0f arriving lines/s.\n",
           ArrivingLinesPerSecond);
    printf("%-34s %12s %10s %10s %12s %s\n", "engine", "lines/s", "us/line", "share", "filter (s)", "< 0.3 s");
    // The two engines' figures over a set of lines, a row each; the first is the terminal's.
    auto compare = [&](const std::vector<ReceivedLine>& over, const char* oursName, const char* standardName) {
        std::pair<Figures, Figures> figures;
        figures.first = Measure(
            over, [&](const ReceivedLine& line) { return ruleSet.Evaluate(line); },
            [&](const ReceivedLine& line) { return ruleSet.Shows(line); });
        figures.second = Measure(
            over, [&](const ReceivedLine& line) { return StdEvaluate(stdRules, line); },
            [&](const ReceivedLine& line) { return StdEvaluate(stdRules, line).shown; });
        PrintRow(oursName, figures.first);
        PrintRow(standardName, figures.second);
        return figures;
    };
    std::pair<Figures, Figures> both = compare(lines, "terminal's automaton", "std::regex (libstdc++)");
    const Figures& ours = both.first;
    const Figures& standard = both.second;
    compare(MakeLongLines(), "automaton, 254-byte random lines", "std::regex, 254-byte random lines");
    if (ours.shown != standard.shown || ours.highlighted != standard.highlighted) {
        printf("MISMATCH: shown %zu / %zu, highlighted %zu / %zu\n", ours.shown, standard.shown, ours.highlighted,
               standard.highlighted);
        return 1;
    }
    printf("Both engines agree: %zu of %zu lines shown, %zu highlighted.\n", ours.shown, LineCount,
           ours.highlighted);
    PrintPathological();
    return 0;
}
