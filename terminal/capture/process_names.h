// The image names of the processes that write debug output, looked up once a process and
// forgotten when it ends (its id may then be given to another process).
#pragma once

#include <windows.h>
#include <stdint.h>

#include <map>
#include <string>

#include "non_copyable.h"

class ProcessNames : private NonCopyable {
public:
    ~ProcessNames() { Clear(); }

    // "name.exe"; empty when the process has ended or cannot be queried (its id alone is shown).
    std::wstring NameOf(uint32_t processId);

private:
    struct Known {
        HANDLE process = NULL;  // signalled once the process ends
        std::wstring name;
        ULONGLONG checkedAt = 0;  // when it was last seen running
    };
    void Clear();
    void ForgetEnded();

    std::map<uint32_t, Known> known_;
};
