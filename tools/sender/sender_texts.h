// Every text vornak-send shows its user, in one place.
#pragma once

#include <string>

// Before every message on standard error.
constexpr char SenderMessagePrefix[] = "vornak-send: ";

constexpr const char* SendUsage =
    "Usage: vornak-send [--task NAME] debug|log|stat|error TEXT...\n"
    "       vornak-send separator [CHAR]\n"
    "       vornak-send clear\n"
    "       vornak-send --help | /?\n"
    "Sends one line to the running debug terminal through VORNAKDBG32.dll. The words of TEXT are\n"
    "joined with single blanks and sent as they are ('%' included). --task NAME registers NAME\n"
    "for this process's thread first, so the line reads \"NAME : TEXT\". Lines travel in the system's\n"
    "ANSI code page: a character it cannot carry is sent as '?' and named on standard error (the\n"
    "exit status stays the library's).\n"
    "Exit status: the library's status: 0 sent; 2 no debug terminal is running; 3 the task name\n"
    "was refused (over 255 characters); 64 bad arguments; 69 VORNAKDBG32.dll could not be used.\n";

// Bad arguments; each is followed by the usage.
inline std::string UnknownOption(const std::string& option)
{
    return "unknown option \"" + option + "\"";
}
constexpr char TaskOnlyOnce[] = "give --task only once";
constexpr char TaskNeedsName[] = "--task needs a name";
constexpr char TaskNameEmpty[] = "--task was given an empty name; name the task, or leave --task out";
constexpr char SayWhatToSend[] = "say what to send: debug, log, stat, error, separator or clear";
inline std::string UnknownCommand(const std::string& command)
{
    return "unknown command \"" + command + "\"";
}
constexpr char NeedsText[] = " needs the text to send (\"\" for an empty line)";  // after the command's name
constexpr char SeparatorTakesOneCharacter[] = "separator takes at most one fill character";
constexpr char ClearTakesNoArguments[] = "clear takes no arguments";
constexpr char TaskGoesWithMessages[] = "--task goes with debug, log, stat or error";

// characters: those the code page cannot carry, as "U+4E2D U+6587".
inline std::string NotCarried(unsigned codePage, const std::string& characters)
{
    return "the ANSI code page " + std::to_string(codePage) + " cannot carry " + characters +
           "; each was sent as '?'";
}

// The library.
inline std::string CannotLoadFromUnknownFolder(const std::string& library, unsigned long error)
{
    return "cannot load " + library + ": the sender's own folder is not known (error " + std::to_string(error) + ")";
}
inline std::string CannotLoad(const std::string& library, const std::string& path, unsigned long error)
{
    return "cannot load " + library + " from " + path + " (error " + std::to_string(error) +
           "); it must lie beside vornak-send.exe";
}
inline std::string HasNoExport(const std::string& library, const std::string& name)
{
    return library + " has no export " + name;
}

// What the library's status means, followed by " (status N)".
constexpr char TextMissingMeaning[] = "the library found no text to send";
constexpr char NoTerminalMeaning[] = "no debug terminal is running";
constexpr char NameRefusedMeaning[] = "the task name was refused (over 255 characters, or the atom table is full)";
constexpr char UnknownStatusMeaning[] = "the library returned an unknown status";
