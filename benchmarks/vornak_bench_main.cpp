// vornak-bench: how fast VORNAKDBG32 delivers lines to a terminal in another process, beside the
// same lines sent by hand with the bare protocol (the floor) and with OutputDebugStringA to a
// DBWIN_BUFFER listener (the peer); what a call costs with no terminal; what 1,000 registered task
// names cost a line. Prints a table; run it with run-benchmark.sh.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bench_figures.h"
#include "bench_names.h"
#include "helper_process.h"
#include "line_senders.h"
#include "non_copyable.h"
#include "terminal_test_lock.h"
#include "timing.h"
#include "vornak_terminal_protocol.h"

namespace {

// Short measurements taken in turn and many of them: on a shared machine the load changes by the
// second, and the median of ratios of neighbouring measurements sees through most of it.
const int ThroughputRounds = 21;
const int ThreadCounts[] = {1, 2, 4, 8};
const int LinesPerMeasurement = 240;  // divisible by every thread count
const int CallRounds = 11;
const unsigned ShuffleSeed = 2024;
const int CallsWithoutTerminal = 5000;
const int LinesPerTaskList = 3000;
const int LinesPerRouteSeries = 2000;
const int CallChunks = 10;
const int OtherTaskCount = 1000;
const int RegisteringThreadsAtOnce = 50;
const int SingleCalls = 2000;
const wchar_t* const LibraryCopyNames[] = {L"vornak-bench-VORNAKDBG32-copy1.dll",
                                           L"vornak-bench-VORNAKDBG32-copy2.dll"};
const wchar_t OtherBuildCopyName[] = L"vornak-bench-VORNAKDBG32-other-build.dll";
const int LinesPerBuild = 3000;

// The lines each helper should have received, kept as the run goes.
struct ExpectedLines {
    LineTally receiver;
    LineTally listener;
};

void Check(bool condition, const std::string& why)
{
    if (!condition) {
        throw std::runtime_error(why);
    }
}

void ExpectLines(LineTally* tally, int threads, int first, int count)
{
    for (int t = 0; t < threads; ++t) {
        for (int line = first; line < first + count; ++line) {
            std::string text = LineText(t, line);
            tally->Add(text.c_str(), text.size());
        }
    }
}

// Seconds to send linesPerMeasurement lines by route, split over threads. Each library measurement
// loads the library afresh, so every thread's task entry is the only one it has.
double MeasureRoute(Route route, int threads, int firstLine, ExpectedLines* expected)
{
    int perThread = LinesPerMeasurement / threads;
    std::unique_ptr<LoadedDbgClient> library;
    DbgClientExports client;
    if (route == Route::Library) {
        library.reset(new LoadedDbgClient());
        Check(library->Loaded(), "cannot load VORNAKDBG32.dll");
        client = **library;
    }
    std::vector<ATOM> nameAtoms(threads);
    std::atomic<int> failed{0};
    double seconds = TimeOnThreads(
        threads,
        [&](int t) {
            if (route == Route::Library) {
                failed += client.registerTask(TaskName(t).c_str()) != VORNAKDBG_STATUS_DONE;
            } else if (route == Route::BareProtocolReadingName) {
                nameAtoms[t] = GlobalAddAtomA(TaskName(t).c_str());
                failed += nameAtoms[t] == 0;
            }
        },
        [&](int t) { failed += SendLines(route, client, nameAtoms[t], t, firstLine, perThread); });
    library.reset();
    for (ATOM atom : nameAtoms) {
        if (atom != 0) {
            GlobalDeleteAtom(atom);
        }
    }
    Check(failed == 0, std::to_string(failed) + " calls failed on the route " + RouteName(route));
    ExpectLines(route == Route::DebugOutput ? &expected->listener : &expected->receiver, threads, firstLine,
                perThread);
    return seconds;
}

void MeasureThroughput(BenchFigures* figures, ExpectedLines* expected, int* nextLine)
{
    const Route routes[RouteCount] = {Route::Library, Route::BareProtocol, Route::BareProtocolReadingName,
                                      Route::DebugOutput};
    // Warm-up: first calls set up per-process state (the debug-output mutex, the library's pages).
    for (Route route : routes) {
        MeasureRoute(route, 1, *nextLine, expected);
    }
    *nextLine += LinesPerMeasurement;

    std::mt19937 shuffler(ShuffleSeed);
    for (int threads : ThreadCounts) {
        std::vector<double> rates[RouteCount];
        std::vector<double> toFloor;
        std::vector<double> toFloorReadingName;
        std::vector<double> toPeer;
        for (int round = 0; round < ThroughputRounds; ++round) {
            // A new order every round, so that no route always follows the same one.
            Route order[RouteCount];
            std::copy(routes, routes + RouteCount, order);
            std::shuffle(order, order + RouteCount, shuffler);
            double rate[RouteCount];
            for (Route route : order) {
                rate[static_cast<int>(route)] =
                    LinesPerMeasurement / MeasureRoute(route, threads, *nextLine, expected);
            }
            *nextLine += LinesPerMeasurement;
            for (int r = 0; r < RouteCount; ++r) {
                rates[r].push_back(rate[r]);
            }
            double library = rate[static_cast<int>(Route::Library)];
            toFloor.push_back(library / rate[static_cast<int>(Route::BareProtocol)]);
            toFloorReadingName.push_back(library / rate[static_cast<int>(Route::BareProtocolReadingName)]);
            toPeer.push_back(library / rate[static_cast<int>(Route::DebugOutput)]);
        }
        ThroughputFigures row = {threads, {}, Median(toFloor), Median(toFloorReadingName), Median(toPeer)};
        for (int r = 0; r < RouteCount; ++r) {
            row.linesPerSecond[r] = Median(rates[r]);
        }
        figures->throughput.push_back(row);
    }
}

// OtherTasks threads, each of which has registered a name of its own in a client and then waits:
// a thread's entry lasts only as long as the thread, so they stay until Release.
class OtherTasks : private NonCopyable {
public:
    OtherTasks() : release_(CreateEventA(NULL, TRUE, FALSE, NULL)) {}
    ~OtherTasks() { Release(); CloseHandle(release_); }

    // Registers the names a batch of threads at a time; returns once every one is registered.
    void Register(const DbgClientExports& client)
    {
        std::atomic<int> failed{0};
        for (int first = 0; first < OtherTaskCount; first += RegisteringThreadsAtOnce) {
            std::atomic<int> pending{0};
            for (int k = first; k < first + RegisteringThreadsAtOnce && k < OtherTaskCount; ++k) {
                ++pending;
                threads_.emplace_back([&, k] {
                    std::string name = "Other task " + std::to_string(k);
                    failed += client.registerTask(name.c_str()) != VORNAKDBG_STATUS_DONE;
                    --pending;
                    WaitForSingleObject(release_, INFINITE);
                });
            }
            while (pending > 0) {
                Sleep(1);
            }
        }
        Check(failed == 0, std::to_string(failed) + " registrations of other tasks failed");
    }

    void Release()
    {
        SetEvent(release_);
        for (std::thread& thread : threads_) {
            thread.join();
        }
        threads_.clear();
    }

private:
    HANDLE release_;
    std::vector<std::thread> threads_;
};

// The ratio of the median calls of two series timed in turn, and its spread over consecutive chunks.
struct CallComparison {
    double ratio;
    Quartiles chunkSpread;
};

CallComparison CompareCalls(const std::vector<double>& numerator, const std::vector<double>& denominator)
{
    std::vector<double> chunkRatios;
    size_t chunk = numerator.size() / CallChunks;
    for (size_t c = 0; c < static_cast<size_t>(CallChunks); ++c) {
        std::vector<double> top(numerator.begin() + c * chunk, numerator.begin() + (c + 1) * chunk);
        std::vector<double> bottom(denominator.begin() + c * chunk, denominator.begin() + (c + 1) * chunk);
        chunkRatios.push_back(Median(top) / Median(bottom));
    }
    return CallComparison{Median(numerator) / Median(denominator), Spread(chunkRatios)};
}

Quartiles Less1(Quartiles spread)
{
    return Quartiles{spread.lower - 1, spread.upper - 1};
}

// compared's calls against base's, and control's against controlBase's, from series timed in turn.
LineByLineComparison CompareInTurn(const std::vector<std::vector<double>>& callUs, int lines, int base, int compared,
                                   int control, int controlBase)
{
    CallComparison against = CompareCalls(callUs[compared], callUs[base]);
    CallComparison alike = CompareCalls(callUs[control], callUs[controlBase]);
    return LineByLineComparison{lines,          Median(callUs[base]),       Median(callUs[compared]),
                                against.ratio - 1, Less1(against.chunkSpread), alike.ratio - 1,
                                Less1(alike.chunkSpread)};
}

// One thread sends lines by every route in turn, one line each, every call timed: neighbouring calls
// see the same load, so the medians compare closely what one line costs on each route.
void MeasureRoutesLineByLine(BenchFigures* figures, ExpectedLines* expected, int* nextLine)
{
    LoadedDbgClient dbg;
    Check(dbg.Loaded(), "cannot load VORNAKDBG32.dll");
    ATOM nameAtom = GlobalAddAtomA(TaskName(0).c_str());
    bool ready = dbg->registerTask(TaskName(0).c_str()) == VORNAKDBG_STATUS_DONE && nameAtom != 0;
    std::vector<double> callUs[RouteCount];
    int failed = 0;
    // A new order for every line: a listener still busy with the line before slows whatever follows
    // OutputDebugStringA, which returns without waiting for it.
    std::mt19937 shuffler(ShuffleSeed);
    Route order[RouteCount] = {Route::Library, Route::BareProtocol, Route::BareProtocolReadingName,
                               Route::DebugOutput};
    for (int line = 0; ready && line < LinesPerRouteSeries; ++line) {
        std::shuffle(order, order + RouteCount, shuffler);
        for (Route route : order) {
            double start = Now();
            failed += SendLines(route, *dbg, nameAtom, 0, *nextLine, 1);
            callUs[static_cast<int>(route)].push_back((Now() - start) * 1e6);
            ExpectLines(route == Route::DebugOutput ? &expected->listener : &expected->receiver, 1, *nextLine, 1);
            ++*nextLine;
        }
    }
    if (nameAtom != 0) {
        GlobalDeleteAtom(nameAtom);
    }
    dbg.Unload();
    Check(ready, "cannot register the sending thread's task");
    Check(failed == 0, std::to_string(failed) + " calls failed on one thread");
    const std::vector<double>& library = callUs[static_cast<int>(Route::Library)];
    figures->linesPerRouteSeries = LinesPerRouteSeries;
    for (int route = 0; route < RouteCount; ++route) {
        figures->lineByLineUs[route] = Median(callUs[route]);
    }
    CallComparison toFloor = CompareCalls(callUs[static_cast<int>(Route::BareProtocol)], library);
    CallComparison toFloorReadingName = CompareCalls(callUs[static_cast<int>(Route::BareProtocolReadingName)], library);
    CallComparison toPeer = CompareCalls(callUs[static_cast<int>(Route::DebugOutput)], library);
    figures->lineByLineToFloor = toFloor.ratio;
    figures->lineByLineToFloorSpread = toFloor.chunkSpread;
    figures->lineByLineToFloorReadingName = toFloorReadingName.ratio;
    figures->lineByLineToFloorReadingNameSpread = toFloorReadingName.chunkSpread;
    figures->lineByLineToPeer = toPeer.ratio;
}

// Three libraries loaded side by side from files of their own (a copy is a module of its own,
// with a task list of its own), each holding this thread's task entry. Copies are made in the
// folder for temporary files, and unloaded and deleted again, last first.
class LibrariesSideBySide : private NonCopyable {
public:
    static const int Count = 3;

    // sources[i]: the file library i is; copyNames[i]: the name of its copy, or NULL to load the
    // file itself.
    LibrariesSideBySide(const std::wstring (&sources)[Count], const wchar_t* const (&copyNames)[Count])
    {
        wchar_t folder[MAX_PATH];
        DWORD length = GetTempPathW(MAX_PATH, folder);
        Check(length > 0 && length < MAX_PATH, "no folder for temporary files");
        for (int i = 0; i < Count && ready_; ++i) {
            paths_[i] = copyNames[i] == NULL ? sources[i] : std::wstring(folder) + copyNames[i];
            copied_[i] = copyNames[i] != NULL && CopyFileW(sources[i].c_str(), paths_[i].c_str(), FALSE) != 0;
            libraries_[i].reset(new LoadedDbgClient(ExportLookup::ByName, paths_[i]));
            ready_ = (copyNames[i] == NULL || copied_[i]) && libraries_[i]->Loaded() &&
                     (i == 0 || libraries_[i]->Module() != libraries_[0]->Module()) &&
                     (*libraries_[i])->registerTask(TaskName(0).c_str()) == VORNAKDBG_STATUS_DONE;
        }
    }
    ~LibrariesSideBySide()
    {
        for (int i = Count - 1; i >= 0; --i) {
            libraries_[i].reset();
            if (copied_[i]) {
                DeleteFileW(paths_[i].c_str());
            }
        }
    }

    bool Ready() const { return ready_; }
    const DbgClientExports& operator[](int i) const { return **libraries_[i]; }

    // Lines go through the three in turn, one line each, the order turning every line, every call
    // timed: neighbouring calls see the same load. Returns each library's calls in microseconds.
    std::vector<std::vector<double>> TimeLinesInTurn(int lines, ExpectedLines* expected, int* nextLine) const
    {
        std::vector<std::vector<double>> callUs(Count);
        int failed = 0;
        for (int line = 0; line < lines; ++line) {
            for (int turn = 0; turn < Count; ++turn) {
                int library = (turn + line) % Count;
                double start = Now();
                failed += SendLines(Route::Library, (*this)[library], 0, 0, *nextLine, 1);
                callUs[library].push_back((Now() - start) * 1e6);
                ExpectLines(&expected->receiver, 1, *nextLine, 1);
                ++*nextLine;
            }
        }
        Check(failed == 0, std::to_string(failed) + " library calls failed");
        return callUs;
    }

private:
    std::wstring paths_[Count];
    bool copied_[Count] = {};
    std::unique_ptr<LoadedDbgClient> libraries_[Count];
    bool ready_ = true;
};

// Three task lists side by side: the library as loaded, holding only this thread's entry; a copy of
// it where this thread's entry is the oldest of OtherTaskCount + 1, the others those of threads that
// wait meanwhile (a look-up that walked the list would pass them all); and a second copy holding
// only this thread's entry again, whose difference from the first shows what noise alone gives. All
// lists exist throughout, so the atom table is the same for each.
void MeasureTaskEntries(BenchFigures* figures, ExpectedLines* expected, int* nextLine)
{
    enum { OneEntry, ManyEntries, OneEntryAgain };
    const std::wstring original = DbgClientBesideProgram();
    LibrariesSideBySide lists({original, original, original}, {NULL, LibraryCopyNames[0], LibraryCopyNames[1]});
    Check(lists.Ready(), "cannot load VORNAKDBG32.dll and two copies of it side by side, each with this thread's task");
    std::vector<std::vector<double>> callUs;
    {
        OtherTasks others;
        others.Register(lists[ManyEntries]);
        callUs = lists.TimeLinesInTurn(LinesPerTaskList, expected, nextLine);
    }
    figures->otherTasks = OtherTaskCount;
    figures->callChunks = CallChunks;
    figures->manyTasks = CompareInTurn(callUs, LinesPerTaskList, OneEntry, ManyEntries, OneEntryAgain, OneEntry);
}

// This library against another build of it, line by line: the library as loaded, a copy of the
// other build, and a copy of this one whose difference from the first shows what noise alone gives.
void MeasureAgainstOtherBuild(const std::wstring& otherBuild, BenchFigures* figures, ExpectedLines* expected,
                              int* nextLine)
{
    enum { ThisBuild, OtherBuild, ThisBuildAgain };
    const std::wstring original = DbgClientBesideProgram();
    LibrariesSideBySide builds({original, otherBuild, original}, {NULL, OtherBuildCopyName, LibraryCopyNames[0]});
    Check(builds.Ready(), "cannot load VORNAKDBG32.dll and the other build side by side, each with this thread's task");
    std::vector<std::vector<double>> callUs = builds.TimeLinesInTurn(LinesPerBuild, expected, nextLine);
    figures->otherBuild = Narrow(otherBuild);
    figures->againstOtherBuild = CompareInTurn(callUs, LinesPerBuild, OtherBuild, ThisBuild, ThisBuildAgain, ThisBuild);
}

// Median microseconds of one call of call(), made SingleCalls times a round.
template <typename Call>
double TimeSingleCalls(Call call)
{
    std::vector<double> perCall;
    for (int round = 0; round < CallRounds; ++round) {
        double start = Now();
        for (int i = 0; i < SingleCalls; ++i) {
            call(i);
        }
        perCall.push_back((Now() - start) * 1e6 / SingleCalls);
    }
    return Median(perCall);
}

void MeasureSingleCalls(BenchFigures* figures)
{
    std::string line = LineText(0, 0);
    ATOM taskAtom = GlobalAddAtomA(TaskName(0).c_str());
    Check(taskAtom != 0, "cannot add an atom");
    int missed = 0;
    figures->findWindowFoundUs =
        TimeSingleCalls([&](int) { missed += FindWindowA(VORNAK_TERMINAL_CLASS, NULL) == NULL; });
    figures->atomAddDeleteUs = TimeSingleCalls([&](int) { GlobalDeleteAtom(GlobalAddAtomA(line.c_str())); });
    figures->atomReadUs = TimeSingleCalls([&](int) {
        char name[256];
        missed += GlobalGetAtomNameA(taskAtom, name, sizeof(name)) == 0;
    });
    GlobalDeleteAtom(taskAtom);
    Check(missed == 0, "a single call failed");
}

void MeasureWithoutTerminal(BenchFigures* figures)
{
    Check(FindWindowA(VORNAK_TERMINAL_CLASS, NULL) == NULL, "a terminal is still running");
    LoadedDbgClient dbg;
    Check(dbg.Loaded(), "cannot load VORNAKDBG32.dll");
    std::vector<double> library;
    std::vector<double> bare;
    std::vector<double> ratio;
    int unexpected = 0;
    for (int round = 0; round < CallRounds; ++round) {
        double libraryNs = 0;
        double bareNs = 0;
        // Alternating which goes first.
        for (int turn = 0; turn < 2; ++turn) {
            double start = Now();
            if ((turn + round) % 2 == 0) {
                for (int i = 0; i < CallsWithoutTerminal; ++i) {
                    unexpected += dbg->debugMessage("line %d of thread %d", i, 0) != VORNAKDBG_STATUS_NO_TERMINAL;
                }
                libraryNs = (Now() - start) * 1e9 / CallsWithoutTerminal;
            } else {
                for (int i = 0; i < CallsWithoutTerminal; ++i) {
                    unexpected += FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL;
                }
                bareNs = (Now() - start) * 1e9 / CallsWithoutTerminal;
            }
        }
        library.push_back(libraryNs);
        bare.push_back(bareNs);
        ratio.push_back(libraryNs / bareNs);
    }
    dbg.Unload();
    Check(unexpected == 0, std::to_string(unexpected) + " calls without a terminal found one");
    figures->callsWithoutTerminal = CallsWithoutTerminal;
    figures->libraryWithoutTerminalNs = Median(library);
    figures->findWindowWithoutTerminalNs = Median(bare);
    figures->withoutTerminalRatio = Median(ratio);
}

std::string DeliveryCheck(const char* helper, const char* what, const LineTally& expected, const LineTally& got,
                          unsigned long long rejected, BenchFigures* figures)
{
    bool intact = expected == got && rejected == 0;
    figures->deliveryIntact = figures->deliveryIntact && intact;
    return std::string(helper) + " " + what + ": " + std::to_string(got.lines) + " of " +
           std::to_string(expected.lines) + " lines, " +
           (expected == got ? "the same text" : "NOT the same text") + ", " + std::to_string(rejected) +
           " rejected: " + (intact ? "intact" : "NOT INTACT");
}

void StopHelpers(HelperProcess* receiver, HelperProcess* listener, HANDLE stopListener,
                 const ExpectedLines& expected, BenchFigures* figures)
{
    HWND terminal = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
    DWORD owner = 0;
    GetWindowThreadProcessId(terminal, &owner);
    Check(terminal != NULL && owner == receiver->Id(), "the receiver's window is gone");
    PostMessageA(terminal, WM_CLOSE, 0, 0);
    SetEvent(stopListener);

    LineTally received;
    LineTally listened;
    unsigned long long rejectedByReceiver = 0;
    unsigned long long rejectedByListener = 0;
    std::string error;
    Check(receiver->Finish(&received, &rejectedByReceiver, &error), "bench-receiver: " + error);
    Check(listener->Finish(&listened, &rejectedByListener, &error), "bench-dbwin-listener: " + error);
    figures->deliveryChecks.push_back(DeliveryCheck("bench-receiver",
                                                    "read from the atoms (library, bare protocol)",
                                                    expected.receiver, received, rejectedByReceiver, figures));
    figures->deliveryChecks.push_back(DeliveryCheck("bench-dbwin-listener",
                                                    "took from DBWIN_BUFFER (OutputDebugStringA)",
                                                    expected.listener, listened, rejectedByListener, figures));
    figures->deliveryChecks.push_back(
        listened.lines > 0 && expected.listener == listened
            ? "Wine's OutputDebugStringA feeds the DBWIN_BUFFER listener: every line arrived there"
            : "Wine's OutputDebugStringA did NOT feed the DBWIN_BUFFER listener with every line");
}

int RunBenchmark(const std::wstring& otherBuild)
{
    // Tests that start terminals take turns with the benchmark, which would otherwise send to theirs.
    TerminalTestLock lock;
    Check(FindWindowA(VORNAK_TERMINAL_CLASS, NULL) == NULL, "a debug terminal is already running; stop it first");

    std::string stopName = "VornakBenchStopListener-" + std::to_string(GetCurrentProcessId());
    HANDLE stopListener = CreateEventA(NULL, TRUE, FALSE, stopName.c_str());
    Check(stopListener != NULL, "cannot create an event");
    HelperProcess receiver;
    HelperProcess listener;
    std::string error;
    Check(receiver.Start(ReceiverProgram, L"", &error), "bench-receiver: " + error);
    std::wstring listenerArguments =
        std::to_wstring(GetCurrentProcessId()) + L" " + std::wstring(stopName.begin(), stopName.end());
    Check(listener.Start(ListenerProgram, listenerArguments, &error), "bench-dbwin-listener: " + error);

    BenchFigures figures;
    figures.throughputRounds = ThroughputRounds;
    figures.callRounds = CallRounds;
    figures.linesPerMeasurement = LinesPerMeasurement;
    ExpectedLines expected;
    int nextLine = 0;
    MeasureThroughput(&figures, &expected, &nextLine);
    MeasureRoutesLineByLine(&figures, &expected, &nextLine);
    MeasureTaskEntries(&figures, &expected, &nextLine);
    if (!otherBuild.empty()) {
        MeasureAgainstOtherBuild(otherBuild, &figures, &expected, &nextLine);
    }
    MeasureSingleCalls(&figures);
    StopHelpers(&receiver, &listener, stopListener, expected, &figures);
    CloseHandle(stopListener);
    MeasureWithoutTerminal(&figures);

    PrintFigures(figures);
    return figures.deliveryIntact ? 0 : 1;
}

}  // namespace

// vornak-bench [OTHER-BUILD]: OTHER-BUILD, the path of another build's VORNAKDBG32.dll, adds this
// library against that one line by line.
int main(int argc, char** argv)
{
    std::wstring otherBuild;
    if (argc > 1) {
        int length = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, NULL, 0);
        if (length > 1) {
            otherBuild.resize(static_cast<size_t>(length));
            MultiByteToWideChar(CP_ACP, 0, argv[1], -1, &otherBuild[0], length);
            otherBuild.resize(static_cast<size_t>(length - 1));
        }
    }
    try {
        return RunBenchmark(otherBuild);
    } catch (const std::exception& failure) {
        fflush(stdout);
        fprintf(stderr, "vornak-bench: %s\n", failure.what());
        return 1;
    }
}
