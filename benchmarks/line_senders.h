// The ways the benchmark delivers the same lines: through the library; by hand with the bare
// terminal protocol (the floor the protocol itself sets); by hand as well, reading the task name
// back from its atom as the library must; and with OutputDebugStringA (the common peer).
#pragma once

#include <windows.h>

#include <string>

#include "loaded_dbgclient.h"

enum class Route { Library, BareProtocol, BareProtocolReadingName, DebugOutput };
const int RouteCount = 4;
const char* RouteName(Route route);

// Thread number t labels its lines with this name (registered with the library, or written by
// hand on the other routes).
std::string TaskName(int thread);
// The text a line arrives as, line end included.
std::string LineText(int thread, int line);

// Sends lines first..first+count-1 of thread by route; returns how many calls failed. On the
// library route the calling thread must have registered TaskName(thread); on the route that reads
// the name back, nameAtom holds it.
int SendLines(Route route, const DbgClientExports& client, ATOM nameAtom, int thread, int first, int count);

// The registered number of the debug line message.
UINT DebugMessageNumber();
