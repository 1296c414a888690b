// Every name, word and message text the installer uses, in one place.
// Formats take wide strings through "%ls", which every compiler reads the same way.
// Plain C++ without Windows headers: the error text's composition, fuzzed natively, takes its
// texts from here too.
#pragma once

// Identity of the driver and of this program towards the network configuration.
const wchar_t DriverDisplayName[] = L"Vornak User Protocol Driver for NDIS 6";
const wchar_t ComponentId[] = L"MS_NDISPROT";
const wchar_t InfBaseName[] = L"vrkprot6";
const wchar_t InfExtension[] = L".inf";
const wchar_t LockClientName[] = L"Quelmor";
const unsigned long LockWaitMilliseconds = 5000;

// Command line. The console keeps the install command's title for every run, uninstall and no
// command included, and names the driver an intermediate filter although it is a protocol: it
// is the title this installer has always shown.
const wchar_t ConsoleTitle[] = L"Installing NDIS Intermediate Filter Driver";
const wchar_t CommandInstall[] = L"/Install";
const wchar_t CommandUninstall[] = L"/Uninstall";
const wchar_t OptionHide[] = L"/hide"; // "/v", or anything else, keeps the console shown

// Progress lines.
const wchar_t InstallingFormat[] = L"Installing %ls...\n";
const wchar_t UninstallingFormat[] = L"Uninstalling %ls...\n";
const wchar_t InfPathFormat[] = L"INF Path: %ls\n";
const wchar_t PnpIdFormat[] = L"PnpID: %ls\n";
const wchar_t NoInfPathText[] = L"Unable to get INF file path.\n";

// Error texts: the code, the message and the system's explanation.
const wchar_t ErrorCodeFormat[] = L"Error %#lx: ";
const wchar_t PossibleCauseText[] = L"\n\nPossible cause:\n\n";

// Error messages. The two failed-open wordings differ on purpose: callers may match either.
const wchar_t LockHeldFormat[] = L"%ls currently holds the lock, try later.";
const wchar_t InstallFailedOpenText[] = L"Couldn't the get notify object interface.";
const wchar_t UninstallFailedOpenText[] = L"Couldn't get the notify object interface.";
const wchar_t InstallFailedText[] = L"Couldn't install the network component.";
// The install command's closing error names the command itself, as it always has: callers'
// logs look for this line.
const wchar_t InstallFinalText[] = L"InstallSpecifiedComponent\n";
const wchar_t FindComponentFailedFormat[] = L"Couldn't get an interface pointer to %ls.";
const wchar_t ClassGuidFailedFormat[] = L"Couldn't get the class guid of %ls.";
const wchar_t ClassInterfaceFailedFormat[] = L"Couldn't get a pointer to class interface of %ls.";
const wchar_t ClassSetupFailedText[] = L"Couldn't get an interface to setup class.";
const wchar_t UninstallFailedFormat[] = L"Failed to uninstall %ls.";
const wchar_t UninstallApplyFailedFormat[] = L"Couldn't apply the changes after uninstalling %ls.";
