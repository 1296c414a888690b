// The sender's arguments in the ANSI code page the library's lines travel in. The system would
// change a character that code page cannot carry into '?' (or a look-alike) without a word; here
// each one is named, so that the user learns which characters did not arrive.
#pragma once

#include <string>
#include <vector>

// The arguments converted; a character the code page cannot carry becomes '?', and is named once
// in *uncarried ("U+4E2D U+1F600"; empty when all were carried).
std::vector<std::string> AnsiArguments(int argc, wchar_t** argv, std::string* uncarried);
