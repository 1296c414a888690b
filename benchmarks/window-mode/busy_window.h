// What a host's call costs while the window works: opening a large log, applying a new filter to
// the lines it keeps, against the same host with the window idle.
#pragma once

// Runs the window in this process, prints the figures beside their target; false when it could
// not measure.
bool MeasureHostWhileWindowWorks();
