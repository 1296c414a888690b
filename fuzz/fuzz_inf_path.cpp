// The installer's path arithmetic: a path split into drive (3 characters with terminator) and
// directory (256), pieces joined into a path of at most 260 (MAX_PATH), and the INF path built
// over the program path in the same buffer. A result that does not fit is refused whole,
// never cut; every result is compared with one worked out here.
#include <stddef.h>
#include <stdint.h>

#include <string>

#include "fuzz_input.h"
#include "fuzz_checks.h"
#include "inf_path.h"

namespace {

const size_t MaxPath = 260;
const size_t DriveBuffer = 3;
const size_t DirectoryBuffer = 256;

static_assert(PathCapacity == MaxPath, "path capacity");
static_assert(DriveCapacity == DriveBuffer, "drive capacity");
static_assert(DirectoryCapacity == DirectoryBuffer, "directory capacity");

const std::wstring InfName = L"vrkprot6";
const std::wstring InfExtension = L".inf";

// Other capacities tried: up to a little past the real ones.
const size_t LargestDriveCapacity = DriveBuffer + 2;
const size_t LargestCapacity = MaxPath + 40;
const size_t PathLimit = 700;
const size_t PieceLimit = 300;

struct Outcome {
    bool fits;
    std::wstring drive;
    std::wstring directory;
    std::wstring path;
};

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

Outcome ExpectedSplit(const std::wstring& path, size_t driveCapacity, size_t directoryCapacity)
{
    size_t driveLength = path.size() >= 2 && path[1] == L':' ? 2 : 0;
    std::wstring rest = path.substr(driveLength);
    size_t directoryLength = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (IsSeparator(rest[i])) {
            directoryLength = i + 1;
        }
    }
    if (driveLength < driveCapacity && directoryLength < directoryCapacity) {
        return {true, path.substr(0, driveLength), rest.substr(0, directoryLength), L""};
    }
    return {false, L"", L"", L""};
}

Outcome ExpectedJoin(size_t capacity, const std::wstring& whole)
{
    if (whole.size() < capacity) {
        return {true, L"", L"", whole};
    }
    return {false, L"", L"", L""};
}

Outcome ExpectedSibling(const std::wstring& path, const std::wstring& name, const std::wstring& extension,
                        size_t capacity)
{
    Outcome split = ExpectedSplit(path, DriveBuffer, DirectoryBuffer);
    if (!split.fits) {
        return split;
    }
    return ExpectedJoin(capacity, split.drive + split.directory + name + extension);
}

void CheckResult(const GuardedBuffer<wchar_t>& out, bool fits, const Outcome& expected, const char* what)
{
    CheckBounds(out, what);
    FUZZ_CHECK(fits == expected.fits, what);
    if (out.Capacity() > 0) {
        FUZZ_CHECK(out.Text() == expected.path, what);
    }
}

void CheckSplit(const std::wstring& path, size_t driveCapacity, size_t directoryCapacity)
{
    ExactText<wchar_t> input(path);
    GuardedBuffer<wchar_t> drive(driveCapacity);
    GuardedBuffer<wchar_t> directory(directoryCapacity);
    bool fits = SplitDriveAndDirectory(input.Get(), drive.Data(), driveCapacity, directory.Data(), directoryCapacity);

    Outcome expected = ExpectedSplit(path, driveCapacity, directoryCapacity);
    CheckBounds(drive, "drive");
    CheckBounds(directory, "directory");
    FUZZ_CHECK(fits == expected.fits, "split");
    if (driveCapacity > 0) {
        FUZZ_CHECK(drive.Text() == expected.drive, "drive");
    }
    if (directoryCapacity > 0) {
        FUZZ_CHECK(directory.Text() == expected.directory, "directory");
    }
}

void CheckJoin(size_t capacity, const std::wstring pieces[4])
{
    ExactText<wchar_t> drive(pieces[0]);
    ExactText<wchar_t> directory(pieces[1]);
    ExactText<wchar_t> name(pieces[2]);
    ExactText<wchar_t> extension(pieces[3]);
    GuardedBuffer<wchar_t> out(capacity);
    bool fits = JoinPath(out.Data(), capacity, drive.Get(), directory.Get(), name.Get(), extension.Get());
    CheckResult(out, fits, ExpectedJoin(capacity, pieces[0] + pieces[1] + pieces[2] + pieces[3]), "join");
}

void CheckSibling(const std::wstring& path, const std::wstring& name, const std::wstring& extension, size_t capacity)
{
    ExactText<wchar_t> input(path);
    ExactText<wchar_t> nameCopy(name);
    ExactText<wchar_t> extensionCopy(extension);
    GuardedBuffer<wchar_t> out(capacity);
    bool fits = SiblingPath(input.Get(), nameCopy.Get(), extensionCopy.Get(), out.Data(), capacity);
    CheckResult(out, fits, ExpectedSibling(path, name, extension, capacity), "sibling path");

    GuardedBuffer<wchar_t> folder(capacity);
    fits = FolderOfPath(input.Get(), folder.Data(), capacity);
    CheckResult(folder, fits, ExpectedSibling(path, L"", L"", capacity), "folder");
}

// As the installer builds its INF path: over the program path, in the program path's buffer.
void CheckInfPathOverProgramPath(const std::wstring& programPath)
{
    if (programPath.size() >= MaxPath) {
        return; // a program path that long never reaches the join
    }
    GuardedBuffer<wchar_t> buffer(MaxPath);
    programPath.copy(buffer.Data(), programPath.size());
    buffer.Data()[programPath.size()] = L'\0';
    bool fits = SiblingPath(buffer.Data(), InfName.c_str(), InfExtension.c_str(), buffer.Data(), MaxPath);
    CheckResult(buffer, fits, ExpectedSibling(programPath, InfName, InfExtension, MaxPath), "INF path in place");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    uint8_t mode = input.Byte();
    size_t driveCapacity = DriveBuffer;
    size_t directoryCapacity = DirectoryBuffer;
    size_t outCapacity = MaxPath;
    if (mode & 1) {
        driveCapacity = input.Size(LargestDriveCapacity);
        directoryCapacity = input.Size(LargestCapacity);
        outCapacity = input.Size(LargestCapacity);
    }
    std::wstring path = input.Text<wchar_t>(PathLimit);
    std::wstring name = InfName;
    std::wstring extension = InfExtension;
    if (mode & 2) {
        name = input.Text<wchar_t>(PieceLimit);
        extension = input.Text<wchar_t>(PieceLimit);
    }

    CheckSplit(path, driveCapacity, directoryCapacity);
    CheckSibling(path, name, extension, outCapacity);
    CheckInfPathOverProgramPath(path);

    // Joining pieces of any length, not only those a split can give.
    Outcome split = ExpectedSplit(path, LargestCapacity, LargestCapacity);
    std::wstring pieces[4] = {split.drive, split.directory, name, extension};
    if (mode & 4) {
        pieces[0] = input.Text<wchar_t>(PieceLimit);
        pieces[1] = input.Text<wchar_t>(PieceLimit);
    }
    CheckJoin(outCapacity, pieces);
    return 0;
}
