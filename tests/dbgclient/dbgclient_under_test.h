// The library as a host sees it: loaded with LoadLibrary, its exports looked up by name or by
// ordinal; and what a recording terminal saw, in a form tests can write out as a table.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "terminal_record.h"
#include "vornakdbg32.h"

enum class ExportLookup { ByName, ByOrdinal };

// Names GoogleTest's parameterised cases.
std::string LookupName(ExportLookup lookup);

struct DbgClientExports {
    VornakMessageFunction debugMessage;
    VornakMessageFunction logMessage;
    VornakRegisterTaskFunction registerTask;
    VornakMessageFunction statisticMessage;
    VornakMessageFunction errorMessage;
    VornakSeparatorFunction separator;
    VornakClearTerminalFunction clearTerminal;
};

// Loads VORNAKDBG32.dll from beside the test program; Unload (or the destructor) frees it.
class LoadedDbgClient {
public:
    explicit LoadedDbgClient(ExportLookup lookup);
    ~LoadedDbgClient();
    LoadedDbgClient(const LoadedDbgClient&) = delete;
    LoadedDbgClient& operator=(const LoadedDbgClient&) = delete;

    bool Loaded() const;
    const DbgClientExports& operator*() const { return exports_; }
    const DbgClientExports* operator->() const { return &exports_; }
    void Unload();

private:
    HMODULE module_;
    DbgClientExports exports_;
};

HMODULE LoadDbgClientModule();

// The numbers every process gets for the protocol's message names.
struct ProtocolNumbers {
    UINT debug;
    UINT log;
    UINT statistic;
    UINT error;
    UINT clear;
};
ProtocolNumbers RegisteredProtocolNumbers();

// What the terminal saw of one message. The atom is judged by kind only: its number differs by run.
enum class AtomKind { None, String, Malformed };

struct Seen {
    UINT message;
    AtomKind atom;
    std::string text;
    LPARAM letter;

    bool operator==(const Seen& other) const
    {
        return message == other.message && atom == other.atom && text == other.text && letter == other.letter;
    }
};
std::ostream& operator<<(std::ostream& out, const Seen& seen);

std::vector<Seen> SeenOf(const std::vector<TerminalRecord>& records);

// A line that travelled in an atom, one the atom table refused, and the clear request.
Seen LineSeen(UINT message, const std::string& text, char letter);
Seen RefusedLineSeen(UINT message, char letter);
Seen ClearSeen(UINT message);

// Whether the global atom table still holds text (in any letter case).
bool AtomTableHolds(const std::string& text);
