#pragma once
// One installed program as its uninstall entry in the registry names it, and the rules
// that turn the entry's texts into what the list shows and what the uninstall starts.
#include <string>

#include "platform/shell.h"

struct TUninstall {
    std::string Name;            // "DisplayName", or the entry's key name when that is blank
    std::string Location;        // the folder part of UninstallString, with its separator
    double Size = 0;             // kilobytes taken by Location; 0 when it is no folder
    double LastUsed = 0;         // when the entry was read (local date-time)
    std::string UninstallString; // "UninstallString" without its opening quote and the match
    std::string Command;         // "UninstallString" as stored: what the uninstall starts
};

// Drops a leading double quote and the quote that closes it (an unclosed one alone); the
// arguments after a quoted path stay as they are.
std::string UnquoteUninstallString(const std::string& text);
// Everything up to and including the last "\" or ":"; empty when there is none.
std::string LocationOf(const std::string& uninstallString);
// "%16.2f KByte": two decimals, right-aligned in 16 characters.
std::string SizeText(double kilobytes);
// The date and time of `dateTime` as the lists show them.
std::string TimeText(double dateTime);

// The program an uninstall command names and the arguments after it, by the rules of a
// Windows command line: a quoted program ends at its closing quote; an unquoted one at the
// first blank after which an existing file is named ("C:\Program Files\X\u.exe /S"), and
// ".exe" may be left off; a bare name is looked for in the Windows folder's "system32"
// and then in the Windows folder. Arguments split at blanks, quotes group, as a Windows
// program's start-up code splits them. False, with `why`, when no program file is named.
bool UninstallRun(const std::string& command, platform::ProgramRun& run, std::string& why);
