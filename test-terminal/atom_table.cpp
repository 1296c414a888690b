#include "atom_table.h"

#include <windows.h>

bool AtomTableHolds(const std::string& text)
{
    return GlobalFindAtomA(text.c_str()) != 0;
}

size_t AtomsStillHeld(const std::vector<std::string>& texts)
{
    size_t held = 0;
    for (const std::string& text : texts) {
        held += AtomTableHolds(text);
    }
    return held;
}
