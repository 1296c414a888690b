// What every export returns.
#pragma once

enum ExportStatus {
    StatusDone = 0,
    StatusTextMissing = 1,
    StatusNoTerminal = 2,
    StatusNameRefused = 3,  // registration only: the atom table or the heap refused
};
