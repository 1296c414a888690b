// What the global atom table still holds: a test's view of the references the library took and
// gave back. The table compares text without regard to case.
#pragma once

#include <string>
#include <vector>

bool AtomTableHolds(const std::string& text);

// How many of texts the table still holds.
size_t AtomsStillHeld(const std::vector<std::string>& texts);
