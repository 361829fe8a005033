#pragma once
// The shell's operations on files that the system asks for by path.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// A request to the shell to perform a verb (ShellExecute).
struct ShellRequest {
    std::string verb;       // "open", "properties"
    std::string file;       // a drive path, or an address ("http://...", "mailto:...")
    std::string parameters; // kept for the record; "open" never starts a program here
    int show = 1;           // the show command (SW_SHOWNORMAL 1, SW_SHOW 5, 0 hidden)
};

// A program to start: its path and the arguments after its own name, one string each.
struct ProgramRun {
    std::string program; // a drive path (or a native path)
    std::vector<std::string> arguments;
};

// What became of a start: `error` says why, for the user, when it did not start.
struct ProgramStart {
    bool started = false;
    std::string error;
};

class Shell {
public:
    virtual ~Shell() = default;

    // The shell's permanent, silent delete: a file alone, or a folder with everything in
    // it; no question, no progress window, no recycle bin. A link or a mount point inside
    // the tree is removed itself (or, for a mount, left in place) and never entered; the
    // deletion goes on past entries it cannot remove. True only when everything went.
    // A drive root is never deleted.
    virtual bool deleteTree(const std::string& path) = 0;

    // The shell's display name of a path (its last component, or a drive's name for a
    // root); nothing when the shell does not know the path.
    virtual std::optional<std::string> displayName(const std::string& path) = 0;

    // A verb on a file, a folder or an address, handed to the desktop: "open" goes to the
    // desktop's opener whatever the file's mode bits (it decides, as a click in the file
    // manager does; a data file is shown, never run), "properties" shows the properties
    // dialog. Returns at once; false when the request could not be made (a path that does
    // not exist, no such verb, no opener).
    virtual bool execute(const ShellRequest& request) = 0;

    // Starts a program with an argument vector, no command interpreter in between, and
    // returns without waiting for it. Only a real program runs (an executable image, or a
    // script whose first line begins with "#!"); anything else is refused with an error.
    virtual ProgramStart runProgram(const ProgramRun& run) = 0;
};

// The shell's word for a kind of drive: "本地磁盘", "可移动磁盘", ...
std::string driveKindName(std::uint8_t driveType);
// The shell's name of a drive: "本地磁盘 (C:)" and the like, by drive type.
std::string driveDisplayName(char letter, std::uint8_t driveType);

} // namespace platform
