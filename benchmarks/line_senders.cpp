#include "line_senders.h"

#include <stdio.h>

#include "helper_process.h"
#include "vornak_terminal_protocol.h"

namespace {

// The body of every line; with the task name in front, lines are about 40 characters long.
#define LINE_BODY_FORMAT "line %d of thread %d"
const char LineBodyFormat[] = LINE_BODY_FORMAT;
const char LabelledLineFormat[] = "%s : " LINE_BODY_FORMAT "\n";
const int LineCapacity = 256;

int SendThroughLibrary(const DbgClientExports& client, int thread, int first, int count)
{
    int failed = 0;
    for (int line = first; line < first + count; ++line) {
        failed += client.debugMessage(LineBodyFormat, line, thread) != VORNAKDBG_STATUS_DONE;
    }
    return failed;
}

// What the library does for a line, written out by hand: find the window, compose the text, add it
// to the atom table, send, delete. With a name atom, the name is read back from it first, as the
// library reads its task names.
int SendByHand(ATOM nameAtom, int thread, int first, int count)
{
    std::string knownName = TaskName(thread);
    UINT message = DebugMessageNumber();
    int failed = 0;
    for (int line = first; line < first + count; ++line) {
        HWND terminal = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
        if (terminal == NULL) {
            ++failed;
            continue;
        }
        char readName[LineCapacity];
        const char* name = knownName.c_str();
        if (nameAtom != 0) {
            failed += GlobalGetAtomNameA(nameAtom, readName, sizeof(readName)) == 0;
            name = readName;
        }
        char text[LineCapacity];
        snprintf(text, sizeof(text), LabelledLineFormat, name, line, thread);
        ATOM atom = GlobalAddAtomA(text);
        SendMessageA(terminal, message, atom, VORNAK_LETTER_DEBUG);
        GlobalDeleteAtom(atom);
    }
    return failed;
}

int SendAsDebugOutput(int thread, int first, int count)
{
    std::string name = TaskName(thread);
    for (int line = first; line < first + count; ++line) {
        char text[LineCapacity];
        snprintf(text, sizeof(text), LabelledLineFormat, name.c_str(), line, thread);
        OutputDebugStringA(text);
    }
    return 0;
}

}  // namespace

const char* RouteName(Route route)
{
    static const char* const Names[RouteCount] = {"library", "bare protocol", "bare protocol reading the name",
                                                  "OutputDebugStringA"};
    return Names[static_cast<int>(route)];
}

std::string TaskName(int thread)
{
    return "Bench worker " + std::to_string(thread);
}

std::string LineText(int thread, int line)
{
    char text[LineCapacity];
    snprintf(text, sizeof(text), LabelledLineFormat, TaskName(thread).c_str(), line, thread);
    return text;
}

int SendLines(Route route, const DbgClientExports& client, ATOM nameAtom, int thread, int first, int count)
{
    switch (route) {
    case Route::Library:
        return SendThroughLibrary(client, thread, first, count);
    case Route::BareProtocol:
        return SendByHand(0, thread, first, count);
    case Route::BareProtocolReadingName:
        return SendByHand(nameAtom, thread, first, count);
    default:
        return SendAsDebugOutput(thread, first, count);
    }
}

UINT DebugMessageNumber()
{
    static const UINT number = RegisterWindowMessageA(VORNAK_WM_DEBUG_MESSAGE);
    return number;
}
