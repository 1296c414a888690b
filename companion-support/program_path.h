// Where the running program lies, for the companions that start or load what lies beside them.
#pragma once

#include <string>

// This program's full path; empty when the system cannot give it whole.
std::wstring OwnProgramPath();

// The folder of this program's path, with its trailing backslash; empty when there is none.
std::wstring OwnProgramFolder();
