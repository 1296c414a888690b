// The name of every journaled method, exactly as the journal and the script write it.
#pragma once

#include <cstddef>

namespace MethodNames {

// The class factory's object creation; its other methods carry the interface name.
const char CreateInstance[] = "CreateInstance";

bool IsKnown(const char* name, size_t length);

} // namespace MethodNames
