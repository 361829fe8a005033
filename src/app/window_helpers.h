#pragma once
// Helpers that show, hide or ask through the program's windows: the windows of the
// program, the shut-down of the computer, the short form of a path.
#include <string>

namespace toolkit {
class Form;
}

// The title the analyzer window carries (two trailing blanks), by which it is found.
inline constexpr const char* kAnalyzerWindowTitle = "Tessaly --- 2008Brisa  ";

// Hides the analyzer window, the main form and the task-bar entry (to the notification area).
void HideApplicationWindows();
// Shows the analyzer window and `window` maximised, and restores the topmost windows.
void ShowApplicationWindows(toolkit::Form* window);

// Powers the computer off, forcing applications to close; on a system of the NT family
// after taking the shut-down privilege (a failed step shows "Exit Error" and stops).
void ShutdownComputer();

// The short (8.3) form of a path. When the system cannot give one it shows its error text
// (and returns `text` less a trailing double quote); a form too long for 66 characters
// gives the same text without a message.
std::string ShortPathOf(const std::string& text);
