// Building paths of at most MAX_PATH characters from the pieces of another path.
// Plain C++ without Windows headers, so that it also builds natively for fuzzing.
#pragma once

#include <stddef.h>

const size_t PathCapacity = 260;      // MAX_PATH, terminator included
const size_t DriveCapacity = 3;       // "C:" and the terminator
const size_t DirectoryCapacity = 256; // terminator included

// Splits path into its drive ("C:", or empty) and its directory, trailing separator kept
// ("\folder\", or empty). Returns false, with both emptied, when either does not fit.
bool SplitDriveAndDirectory(const wchar_t* path, wchar_t* drive, size_t driveCapacity,
                            wchar_t* directory, size_t directoryCapacity);

// Joins drive, directory, name and extension into out. Returns false, with out emptied, when the
// result does not fit in outCapacity characters.
bool JoinPath(wchar_t* out, size_t outCapacity, const wchar_t* drive, const wchar_t* directory,
              const wchar_t* name, const wchar_t* extension);

// The folder of path ("C:\folder\") into out; false, with out emptied, when it does not fit.
bool FolderOfPath(const wchar_t* path, wchar_t* out, size_t outCapacity);

// The path of a file called name + extension in the folder of path; false, with out emptied,
// when it does not fit.
bool SiblingPath(const wchar_t* path, const wchar_t* name, const wchar_t* extension, wchar_t* out,
                 size_t outCapacity);
