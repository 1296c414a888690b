#include "process_names.h"

namespace {

// Writers may give any id: the table stays bounded whatever they give.
constexpr size_t MostKnownProcesses = 1024;
// A name is trusted this long before the process is asked again whether it still runs: asking
// costs a call into the system for every text, and an id is not given again that soon.
constexpr ULONGLONG RunningRecheckMs = 1000;

bool HasEnded(HANDLE process)
{
    return WaitForSingleObject(process, 0) != WAIT_TIMEOUT;
}

// The file name of the process's image; empty when it cannot be had.
std::wstring ImageName(HANDLE process)
{
    wchar_t path[MAX_PATH * 4];
    DWORD length = MAX_PATH * 4;
    if (!QueryFullProcessImageNameW(process, 0, path, &length)) {
        return std::wstring();
    }
    std::wstring full(path, length);
    size_t slash = full.find_last_of(L"\\/");
    return slash == std::wstring::npos ? full : full.substr(slash + 1);
}

} // namespace

std::wstring ProcessNames::NameOf(uint32_t processId)
{
    auto found = known_.find(processId);
    ULONGLONG now = GetTickCount64();
    if (found != known_.end()) {
        if (now - found->second.checkedAt < RunningRecheckMs) {
            return found->second.name;
        }
        if (!HasEnded(found->second.process)) {
            found->second.checkedAt = now;
            return found->second.name;
        }
        CloseHandle(found->second.process);
        known_.erase(found);
    }
    // Limited rights: enough for the name, and granted for processes of other users and levels.
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId);
    if (process == NULL) {
        return std::wstring();
    }
    std::wstring name = ImageName(process);
    if (name.empty() || HasEnded(process)) {
        CloseHandle(process);
        return std::wstring();
    }
    if (known_.size() >= MostKnownProcesses) {
        ForgetEnded();
        if (known_.size() >= MostKnownProcesses) {
            Clear();
        }
    }
    known_[processId] = Known{process, name, now};
    return name;
}

void ProcessNames::ForgetEnded()
{
    for (auto entry = known_.begin(); entry != known_.end();) {
        if (HasEnded(entry->second.process)) {
            CloseHandle(entry->second.process);
            entry = known_.erase(entry);
        } else {
            ++entry;
        }
    }
}

void ProcessNames::Clear()
{
    for (auto& entry : known_) {
        CloseHandle(entry.second.process);
    }
    known_.clear();
}
