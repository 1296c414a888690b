#include "live_references.h"

#include <atomic>

namespace {

std::atomic<int> LiveReferenceCount{0};
std::atomic<int> ServerLockCount{0};

} // namespace

namespace LiveReferences {

void Taken()
{
    ++LiveReferenceCount;
}

void Given()
{
    --LiveReferenceCount;
}

int Total()
{
    return LiveReferenceCount.load();
}

void LockServer(bool lock)
{
    if (lock) {
        ++ServerLockCount;
    } else {
        --ServerLockCount;
    }
}

bool ServerLocked()
{
    return ServerLockCount.load() > 0;
}

} // namespace LiveReferences
