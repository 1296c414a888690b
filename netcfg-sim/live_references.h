// Every reference held on a simulator object in this process, counted in one place: tests read
// the total to catch leaks, and the DLL may only be unloaded when it and the server locks are 0.
#pragma once

namespace LiveReferences {

void Taken();
void Given();
int Total();

void LockServer(bool lock);
bool ServerLocked();

} // namespace LiveReferences
