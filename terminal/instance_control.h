// One terminal at a time: refusing a second one, and letting scripts wait for or stop the one
// that runs.
#pragma once

#include <windows.h>

#include <string>

// Claims the right to be the terminal. Returns NULL with *why set when another terminal (ours
// or any other program owning the window class) is running; the handle is kept until exit.
HANDLE ClaimSingleInstance(std::string* why);

// Waits until a terminal window exists; false after timeoutSeconds.
bool WaitForTerminal(unsigned timeoutSeconds);

enum class StopResult { Stopped, NoneRunning, StillRunning };

// Asks the running terminal to close and waits up to timeoutSeconds for its process to end.
StopResult StopTerminal(unsigned timeoutSeconds);
