// The terminal's named objects (its stop request and its presence) are created so that programs
// of the same user at a lower integrity level can reach them: an elevated terminal must be
// stoppable, and its end awaitable, from an ordinary prompt. Window messages cannot be relied on
// for that (the system may filter them), and the default security of an elevated program's
// objects admits only administrators at high integrity.
#pragma once

#include <windows.h>
#include "non_copyable.h"

// Security attributes granting rights to the running user and to interactive users, the object
// labelled medium integrity (no write up), so that medium-integrity programs pass both checks.
class ReachableObjectSecurity : private NonCopyable {
public:
    explicit ReachableObjectSecurity(DWORD rights);
    ~ReachableObjectSecurity();

    // NULL when the descriptor could not be built: the object then gets the default security.
    SECURITY_ATTRIBUTES* Attributes() { return descriptor_ != NULL ? &attributes_ : NULL; }

private:
    PSECURITY_DESCRIPTOR descriptor_ = NULL;
    SECURITY_ATTRIBUTES attributes_ = {};
};
