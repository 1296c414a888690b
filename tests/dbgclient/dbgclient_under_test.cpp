#include "dbgclient_under_test.h"

#include "child_process.h"

namespace {

const WORD DebugMessageOrdinal = 2;
const WORD LogMessageOrdinal = 3;
const WORD RegisterTaskOrdinal = 4;
const WORD StatisticMessageOrdinal = 5;
const WORD ErrorMessageOrdinal = 6;
const WORD SeparatorOrdinal = 7;
const WORD ClearTerminalOrdinal = 8;

template <typename Function>
Function Lookup(HMODULE module, ExportLookup lookup, const char* name, WORD ordinal)
{
    if (module == NULL) {
        return NULL;
    }
    FARPROC address = GetProcAddress(module, lookup == ExportLookup::ByName ? name : MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

const char* AtomKindName(AtomKind kind)
{
    switch (kind) {
    case AtomKind::None:
        return "no atom";
    case AtomKind::String:
        return "atom";
    default:
        return "malformed atom";
    }
}

// Shows line ends and other controls in failure messages.
std::string Visible(const std::string& text)
{
    std::string visible;
    for (unsigned char c : text) {
        if (c == '\n') {
            visible += "\\n";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[5];
            snprintf(hex, sizeof(hex), "\\x%02X", c);
            visible += hex;
        } else {
            visible += static_cast<char>(c);
        }
    }
    return visible;
}

}  // namespace

std::string LookupName(ExportLookup lookup)
{
    return lookup == ExportLookup::ByName ? "ByName" : "ByOrdinal";
}

HMODULE LoadDbgClientModule()
{
    return LoadLibraryW(PathBesideProgram(L"VORNAKDBG32.dll").c_str());
}

LoadedDbgClient::LoadedDbgClient(ExportLookup lookup) : module_(LoadDbgClientModule())
{
    exports_.debugMessage = Lookup<VornakMessageFunction>(module_, lookup, "VornakDbg_Message", DebugMessageOrdinal);
    exports_.logMessage = Lookup<VornakMessageFunction>(module_, lookup, "VornakLog_Message", LogMessageOrdinal);
    exports_.registerTask =
        Lookup<VornakRegisterTaskFunction>(module_, lookup, "VornakDbg_RegisterTask", RegisterTaskOrdinal);
    exports_.statisticMessage =
        Lookup<VornakMessageFunction>(module_, lookup, "VornakStat_Message", StatisticMessageOrdinal);
    exports_.errorMessage =
        Lookup<VornakMessageFunction>(module_, lookup, "VornakError_Message", ErrorMessageOrdinal);
    exports_.separator = Lookup<VornakSeparatorFunction>(module_, lookup, "VornakDbg_Separator", SeparatorOrdinal);
    exports_.clearTerminal =
        Lookup<VornakClearTerminalFunction>(module_, lookup, "VornakDbg_ClearTerminal", ClearTerminalOrdinal);
}

LoadedDbgClient::~LoadedDbgClient()
{
    Unload();
}

bool LoadedDbgClient::Loaded() const
{
    return module_ != NULL && exports_.debugMessage != NULL && exports_.logMessage != NULL &&
           exports_.registerTask != NULL && exports_.statisticMessage != NULL && exports_.errorMessage != NULL &&
           exports_.separator != NULL && exports_.clearTerminal != NULL;
}

void LoadedDbgClient::Unload()
{
    if (module_ != NULL) {
        FreeLibrary(module_);
        module_ = NULL;
        exports_ = DbgClientExports();
    }
}

ProtocolNumbers RegisteredProtocolNumbers()
{
    return ProtocolNumbers{
        RegisterWindowMessageA("*WM_DEBUG_MESSAGE"), RegisterWindowMessageA("*WM_LOG_MESSAGE"),
        RegisterWindowMessageA("*WM_STATISTIC_MESSAGE"), RegisterWindowMessageA("*WM_ERROR_MESSAGE"),
        RegisterWindowMessageA("*WM_CLEAR_TERMINAL")};
}

std::ostream& operator<<(std::ostream& out, const Seen& seen)
{
    return out << "{0x" << std::hex << seen.message << std::dec << ", " << AtomKindName(seen.atom) << ", \""
               << Visible(seen.text) << "\", " << seen.letter << "}";
}

std::vector<Seen> SeenOf(const std::vector<TerminalRecord>& records)
{
    // String atoms lie between 0xC000 and 0xFFFF; a line is never an integer atom.
    std::vector<Seen> seen;
    for (const TerminalRecord& record : records) {
        AtomKind kind = record.atom == 0                                   ? AtomKind::None
                        : record.atom >= 0xC000 && record.atom <= 0xFFFF ? AtomKind::String
                                                                           : AtomKind::Malformed;
        seen.push_back(Seen{record.message, kind, record.text, record.letter});
    }
    return seen;
}

Seen LineSeen(UINT message, const std::string& text, char letter)
{
    return Seen{message, AtomKind::String, text, letter};
}

Seen RefusedLineSeen(UINT message, char letter)
{
    return Seen{message, AtomKind::None, std::string(), letter};
}

Seen ClearSeen(UINT message)
{
    return Seen{message, AtomKind::None, std::string(), 0};
}

bool AtomTableHolds(const std::string& text)
{
    return GlobalFindAtomA(text.c_str()) != 0;
}
