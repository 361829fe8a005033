#pragma once
// Special folders, display names, file dates as text, short paths, the sort helpers of
// the list columns, the windows of the program and the shut-down of the computer.
#include <string>

#include "platform/file_system.h"

namespace toolkit {
class Form;
}

// The title the analyzer window carries (two trailing blanks), by which it is found.
inline constexpr const char* kAnalyzerWindowTitle = "Tessaly --- 2008Brisa  ";

// The "Local Settings" folder of the user's "Shell Folders" key; empty when missing.
std::string LocalSettingsFolder();
// The Windows directory.
std::string WindowsFolder();
// The shell's display name of a path; the path itself when the shell does not know it.
std::string PathDisplayName(const std::string& path);
// "D:\" for a path on drive D (the two characters that end at the first ":", then "\");
// "My Computer" for a path without ":".
std::string DriveRootOf(const std::string& path);

// A UTC file time as a local date-time value.
double FileTimeToLocalDateTime(platform::FileTime fileTime);

struct FileTimeTexts {
    std::string creation;  // the entry's creation time
    std::string lastWrite; // the entry's last write
    std::string now;       // the current local time
};
// "yyyy/mm/dd,hh:mm:ss" texts; the two file times are empty for a path that is not found.
FileTimeTexts FileTimesText(const std::string& path);

// The short (8.3) form of a path. When the system cannot give one it shows its error text
// (and returns `text` less a trailing double quote); a form too long for 66 characters
// gives the same text without a message.
std::string ShortPathOf(const std::string& text);

// -1, 0 or 1.
int SignOf(double x);
// The leading decimal digits of `text`; "0" when it begins with none.
std::string LeadingDigits(const std::string& text);
// A list date month/day/year ("8/1/2008") at 00:00; 0 for a text of more than 10
// characters; throws ConvertError when the text is no such date.
double ParseListDate(const std::string& text);

// Hides the analyzer window, the main form and the task-bar entry (to the notification area).
void HideApplicationWindows();
// Shows the analyzer window and `window` maximised, and restores the topmost windows.
void ShowApplicationWindows(toolkit::Form* window);

// "Windows NT Version 5.1\r\n (Build 2600: Service Pack 2)"; empty when the system does
// not say.
std::string OsVersionText();
// Powers the computer off, forcing applications to close; on a system of the NT family
// after taking the shut-down privilege (a failed step shows "Exit Error" and stops).
void ShutdownComputer();
