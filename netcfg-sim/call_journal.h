// The journal, steered by NETCFG_SIM_JOURNAL: when it names a file, every call is appended to it
// as one ASCII line "Method(arguments) = 0x%08lx", written and flushed at once. The variable is
// read at every line, so a test can move the journal between cases.
#pragma once

#include <windows.h>
#include <netcfgx.h>

#include <string>

namespace CallJournal {

// Appends line and a "\n" when the journal is on.
void Append(const std::string& line);

} // namespace CallJournal

// The argument list of one journal line, written as the journal spells each kind of value.
class JournalArgs {
public:
    JournalArgs& Text(const wchar_t* text);            // "quoted", or NULL
    JournalArgs& Number(unsigned long number);         // decimal
    JournalArgs& Iid(REFIID iid);                      // IID_Name, or {GUID} when unknown
    JournalArgs& Guid(const GUID* guid);               // {GUID}, or NULL
    JournalArgs& OnBehalf(const OBO_TOKEN* token);     // OBO_USER, OBO_COMPONENT, OBO_SOFTWARE, or NULL
    JournalArgs& Pointer(const void* pointer);         // <pointer>, or NULL
    JournalArgs& Out(const void* out);                 // nothing, or NULL when the caller passed NULL
    JournalArgs& Raw(const std::string& text);

    const std::string& Joined() const { return joined_; }

private:
    std::string joined_;
};

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper case.
std::string GuidText(const GUID& guid);
