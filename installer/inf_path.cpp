#include "inf_path.h"

#include <wchar.h>

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool CopyPiece(wchar_t* out, size_t capacity, const wchar_t* from, size_t length)
{
    if (length >= capacity) {
        return false;
    }
    wmemcpy(out, from, length);
    out[length] = L'\0';
    return true;
}

} // namespace

bool SplitDriveAndDirectory(const wchar_t* path, wchar_t* drive, size_t driveCapacity,
                            wchar_t* directory, size_t directoryCapacity)
{
    const wchar_t* rest = path;
    size_t driveLength = 0;
    if (path[0] != L'\0' && path[1] == L':') {
        driveLength = 2;
        rest = path + 2;
    }
    size_t directoryLength = 0;
    for (size_t i = 0; rest[i] != L'\0'; ++i) {
        if (IsSeparator(rest[i])) {
            directoryLength = i + 1;
        }
    }
    if (CopyPiece(drive, driveCapacity, path, driveLength) &&
        CopyPiece(directory, directoryCapacity, rest, directoryLength)) {
        return true;
    }
    if (driveCapacity > 0) {
        drive[0] = L'\0';
    }
    if (directoryCapacity > 0) {
        directory[0] = L'\0';
    }
    return false;
}

bool JoinPath(wchar_t* out, size_t outCapacity, const wchar_t* drive, const wchar_t* directory,
              const wchar_t* name, const wchar_t* extension)
{
    if (outCapacity == 0) {
        return false;
    }
    const wchar_t* pieces[] = {drive, directory, name, extension};
    size_t used = 0;
    for (const wchar_t* piece : pieces) {
        size_t length = wcslen(piece);
        if (length >= outCapacity - used) {
            out[0] = L'\0';
            return false;
        }
        wmemcpy(out + used, piece, length);
        used += length;
    }
    out[used] = L'\0';
    return true;
}

bool FolderOfPath(const wchar_t* path, wchar_t* out, size_t outCapacity)
{
    return SiblingPath(path, L"", L"", out, outCapacity);
}

bool SiblingPath(const wchar_t* path, const wchar_t* name, const wchar_t* extension, wchar_t* out,
                 size_t outCapacity)
{
    wchar_t drive[DriveCapacity];
    wchar_t directory[DirectoryCapacity];
    if (!SplitDriveAndDirectory(path, drive, DriveCapacity, directory, DirectoryCapacity)) {
        if (outCapacity > 0) {
            out[0] = L'\0';
        }
        return false;
    }
    return JoinPath(out, outCapacity, drive, directory, name, extension);
}
