// What one benchmark run measured, and the table it prints.
#pragma once

#include <string>
#include <vector>

#include "line_senders.h"
#include "timing.h"

struct ThroughputFigures {
    int threads;
    double linesPerSecond[RouteCount];  // median per route, indexed by Route
    double libraryToFloor;              // median of the rounds' ratios
    double libraryToFloorReadingName;
    double libraryToPeer;
};

// One library's calls against another's, line by line on one thread, and a control: two
// libraries alike, whose difference shows what noise alone gives.
struct LineByLineComparison {
    int lines = 0;              // through each library
    double baseLineUs = 0;      // median call of the library compared with
    double comparedLineUs = 0;  // median call of the library compared
    double extra = 0;           // compared over base, less 1
    Quartiles extraSpread = {};
    double control = 0;  // the same between the two alike
    Quartiles controlSpread = {};
};

struct BenchFigures {
    int throughputRounds = 0;
    int callRounds = 0;
    int linesPerMeasurement = 0;
    std::vector<ThroughputFigures> throughput;

    // One thread, the routes in turn line by line: median call per route (indexed by Route) and the
    // ratios as lines per second would give them, library over the other.
    int linesPerRouteSeries = 0;
    double lineByLineUs[RouteCount] = {};
    double lineByLineToFloor = 0;
    Quartiles lineByLineToFloorSpread = {};
    double lineByLineToFloorReadingName = 0;
    Quartiles lineByLineToFloorReadingNameSpread = {};
    double lineByLineToPeer = 0;

    int callsWithoutTerminal = 0;
    double libraryWithoutTerminalNs = 0;
    double findWindowWithoutTerminalNs = 0;
    double withoutTerminalRatio = 0;

    int otherTasks = 0;
    int callChunks = 0;
    // A task list of many entries (compared) against one of this thread's entry only (base); the
    // control, two lists of that one entry.
    LineByLineComparison manyTasks;

    // This library against another build, line by line; empty when none was named.
    std::string otherBuild;
    // This build (compared) against the other (base); the control, this build against a copy of itself.
    LineByLineComparison againstOtherBuild;

    // Single calls, one thread, terminal running: what a line is made of.
    double findWindowFoundUs = 0;
    double atomAddDeleteUs = 0;
    double atomReadUs = 0;

    // Whether each helper received exactly the lines sent to it, and how many.
    std::vector<std::string> deliveryChecks;
    bool deliveryIntact = true;
};

// Targets the closing note judges.
// The library against the floor that reads the task name back as it must, and against
// OutputDebugStringA, at every thread count.
const double LibraryToFloorReadingNameTarget = 0.97;
const double LibraryToPeerTarget = 1.4;
const double WithoutTerminalTarget = 1.10;
const double ManyTasksTarget = 0.02;

void PrintFigures(const BenchFigures& figures);
