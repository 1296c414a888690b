#include "live_references.h"

#include <atomic>

namespace {

std::atomic<int> references{0};
std::atomic<int> serverLocks{0};

} // namespace

namespace live_references {

void Taken()
{
    ++references;
}

void Given()
{
    --references;
}

int Total()
{
    return references.load();
}

void LockServer(bool lock)
{
    if (lock) {
        ++serverLocks;
    } else {
        --serverLocks;
    }
}

bool ServerLocked()
{
    return serverLocks.load() > 0;
}

} // namespace live_references
