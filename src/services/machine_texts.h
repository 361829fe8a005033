#pragma once
// What the system reads of the machine as texts: special folders, display names, the
// operating system's version.
#include <string>

// The "Local Settings" folder of the user's "Shell Folders" key; empty when missing.
std::string LocalSettingsFolder();
// The Windows directory.
std::string WindowsFolder();
// The shell's display name of a path; the path itself when the shell does not know it.
std::string PathDisplayName(const std::string& path);

// "Windows NT Version 5.1\r\n (Build 2600: Service Pack 2)"; empty when the system does
// not say.
std::string OsVersionText();
