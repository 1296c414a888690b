#include "bench_figures.h"

#include <stdio.h>

namespace {

const char* Verdict(bool met)
{
    return met ? "met" : "NOT MET";
}


void PrintThroughput(const BenchFigures& figures)
{
    printf("Lines per second to a terminal in another process\n"
           "(%d rounds; in each, every route in turn sends %d lines split over the threads)\n",
           figures.throughputRounds, figures.linesPerMeasurement);
    printf("  threads  library  floor  floor+name  ODS-peer   lib/floor  lib/(floor+name)  lib/peer\n");
    for (const ThroughputFigures& row : figures.throughput) {
        printf("  %7d  %7.0f  %5.0f  %10.0f  %8.0f   %9.3f  %16.3f  %8.3f\n", row.threads,
               row.linesPerSecond[static_cast<int>(Route::Library)],
               row.linesPerSecond[static_cast<int>(Route::BareProtocol)],
               row.linesPerSecond[static_cast<int>(Route::BareProtocolReadingName)],
               row.linesPerSecond[static_cast<int>(Route::DebugOutput)], row.libraryToFloor,
               row.libraryToFloorReadingName, row.libraryToPeer);
    }
    printf("  floor: FindWindowA, GlobalAddAtomA, SendMessageA, GlobalDeleteAtom written out by hand, no library;\n"
           "  floor+name: the same, reading the task name back with GlobalGetAtomNameA first, as the library must;\n"
           "  ODS-peer: the same lines through OutputDebugStringA to a DBWIN_BUFFER listener in another process.\n\n");
}

void PrintLineByLine(const BenchFigures& figures)
{
    printf("Per line on one thread, the routes in turn line by line (median call of %d each; in brackets the\n"
           "middle half of %d chunks)\n",
           figures.linesPerRouteSeries, figures.callChunks);
    printf("  library %.1f us   floor %.1f us   floor+name %.1f us   ODS-peer %.1f us\n",
           figures.lineByLineUs[static_cast<int>(Route::Library)],
           figures.lineByLineUs[static_cast<int>(Route::BareProtocol)],
           figures.lineByLineUs[static_cast<int>(Route::BareProtocolReadingName)],
           figures.lineByLineUs[static_cast<int>(Route::DebugOutput)]);
    printf("  lib/floor %.3f [%.3f, %.3f]   lib/(floor+name) %.3f [%.3f, %.3f]   lib/peer %.3f\n\n",
           figures.lineByLineToFloor, figures.lineByLineToFloorSpread.lower, figures.lineByLineToFloorSpread.upper,
           figures.lineByLineToFloorReadingName, figures.lineByLineToFloorReadingNameSpread.lower,
           figures.lineByLineToFloorReadingNameSpread.upper, figures.lineByLineToPeer);
}

void PrintSingleCalls(const BenchFigures& figures)
{
    printf("Call without a terminal running (%d rounds of %d calls each, in turn)\n", figures.callRounds,
           figures.callsWithoutTerminal);
    printf("  VornakDbg_Message %8.0f ns   bare FindWindowA %8.0f ns   ratio %.3f\n\n",
           figures.libraryWithoutTerminalNs, figures.findWindowWithoutTerminalNs, figures.withoutTerminalRatio);

    printf("Per line through the library, one sending thread, by entries in its task list (median call;\n"
           "%d lines on each list, one line on each in turn; in brackets the middle half of %d chunks)\n",
           figures.manyTasks.lines, figures.callChunks);
    printf("  its own entry only %8.1f us\n", figures.manyTasks.baseLineUs);
    printf("  its own entry oldest, %d newer ones of other threads %8.1f us: extra %+.2f%% [%+.2f%%, %+.2f%%]\n",
           figures.otherTasks, figures.manyTasks.comparedLineUs, figures.manyTasks.extra * 100,
           figures.manyTasks.extraSpread.lower * 100, figures.manyTasks.extraSpread.upper * 100);
    printf("  control, another list of its own entry only: difference %+.2f%% [%+.2f%%, %+.2f%%]\n\n",
           figures.manyTasks.control * 100, figures.manyTasks.controlSpread.lower * 100,
           figures.manyTasks.controlSpread.upper * 100);

    if (!figures.otherBuild.empty()) {
        printf("Per line through this library and another build of it, one thread (median call; %d lines\n"
               "through each, one line through each in turn; in brackets the middle half of %d chunks)\n",
               figures.againstOtherBuild.lines, figures.callChunks);
        printf("  other build (%s) %8.1f us\n", figures.otherBuild.c_str(), figures.againstOtherBuild.baseLineUs);
        printf("  this build %8.1f us: extra %+.2f%% [%+.2f%%, %+.2f%%]\n", figures.againstOtherBuild.comparedLineUs,
               figures.againstOtherBuild.extra * 100, figures.againstOtherBuild.extraSpread.lower * 100,
               figures.againstOtherBuild.extraSpread.upper * 100);
        printf("  control, this build against a copy of itself: difference %+.2f%% [%+.2f%%, %+.2f%%]\n\n",
               figures.againstOtherBuild.control * 100, figures.againstOtherBuild.controlSpread.lower * 100,
               figures.againstOtherBuild.controlSpread.upper * 100);
    }

    printf("Single calls, one thread, terminal running (%d rounds)\n", figures.callRounds);
    printf("  FindWindowA (found) %6.1f us   GlobalAddAtomA + GlobalDeleteAtom %6.1f us   "
           "GlobalGetAtomNameA %6.1f us\n\n",
           figures.findWindowFoundUs, figures.atomAddDeleteUs, figures.atomReadUs);
}

void PrintTargets(const BenchFigures& figures)
{
    const ThroughputFigures* lowestToFloor = NULL;
    const ThroughputFigures* lowestToPeer = NULL;
    for (const ThroughputFigures& row : figures.throughput) {
        if (lowestToFloor == NULL || row.libraryToFloorReadingName < lowestToFloor->libraryToFloorReadingName) {
            lowestToFloor = &row;
        }
        if (lowestToPeer == NULL || row.libraryToPeer < lowestToPeer->libraryToPeer) {
            lowestToPeer = &row;
        }
    }
    if (lowestToFloor == NULL) {
        return;
    }
    printf("Targets\n");
    // Judged line by line, where the routes alternate call by call; the lowest throughput ratio
    // beside it shows how far the thread counts spread on this machine.
    printf("  library >= %.2f of the floor plus the name read: line by line %.3f, %s "
           "(lowest over thread counts %.3f, %d thread(s))\n",
           LibraryToFloorReadingNameTarget, figures.lineByLineToFloorReadingName,
           Verdict(figures.lineByLineToFloorReadingName >= LibraryToFloorReadingNameTarget),
           lowestToFloor->libraryToFloorReadingName, lowestToFloor->threads);
    printf("  library >= %.1f times OutputDebugStringA: line by line %.3f, %s "
           "(lowest over thread counts %.3f, %d thread(s))\n",
           LibraryToPeerTarget, figures.lineByLineToPeer, Verdict(figures.lineByLineToPeer >= LibraryToPeerTarget),
           lowestToPeer->libraryToPeer, lowestToPeer->threads);
    printf("  call without a terminal within %.2f of FindWindowA: %.3f, %s\n", WithoutTerminalTarget,
           figures.withoutTerminalRatio, Verdict(figures.withoutTerminalRatio <= WithoutTerminalTarget));
    printf("  %d registered tasks cost under %.0f%% a line: %+.2f%%, %s\n", figures.otherTasks,
           ManyTasksTarget * 100, figures.manyTasks.extra * 100, Verdict(figures.manyTasks.extra < ManyTasksTarget));
    bool tasksMet = figures.manyTasks.extra < ManyTasksTarget;
    if (!tasksMet) {
        bool withinNoise = figures.manyTasks.extra <= figures.manyTasks.controlSpread.upper;
        printf("  What bounds the task figure: the control, two lists alike, differs by %+.2f%% [%+.2f%%, %+.2f%%];\n"
               "  the extra of %+.2f%% %s.\n",
               figures.manyTasks.control * 100, figures.manyTasks.controlSpread.lower * 100,
               figures.manyTasks.controlSpread.upper * 100, figures.manyTasks.extra * 100,
               withinNoise ? "lies within that band: this machine cannot tell it from noise"
                           : "lies beyond that band: the longer list costs the line");
    }
    printf("\n");
}

}  // namespace

void PrintFigures(const BenchFigures& figures)
{
    printf("VORNAKDBG32 benchmark: every figure is a median over rounds, every ratio the median of the\n"
           "rounds' ratios\n\n");
    PrintThroughput(figures);
    PrintLineByLine(figures);
    PrintSingleCalls(figures);
    PrintTargets(figures);
    printf("Delivery checks\n");
    for (const std::string& check : figures.deliveryChecks) {
        printf("  %s\n", check.c_str());
    }
}
