// A system function replaced in this test program's import table for the life of the object.
#pragma once

#include "import_patch.h"
#include "non_copyable.h"

class PatchedImport : private NonCopyable {
public:
    template <typename Function>
    PatchedImport(const char* function, Function replacement)
        : function_(function), original_(PatchImport(function, reinterpret_cast<void*>(replacement)))
    {
    }
    ~PatchedImport()
    {
        if (original_ != nullptr) {
            PatchImport(function_, original_);
        }
    }

    // False when this program does not import the function (nothing was replaced).
    bool Applied() const { return original_ != nullptr; }

private:
    const char* function_;
    void* original_;
};
