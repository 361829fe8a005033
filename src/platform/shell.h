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

// What became of a request to empty the recycle bins.
enum class RecycleBinResult {
    NoLibrary,   // the shell library that holds the operation could not be loaded
    NoOperation, // the library has no such operation
    Emptied,
    Failed,      // the operation ran and reported a failure
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

    // Empties the recycle bins of every drive, without a question, a progress window or a
    // sound. An operation that may be missing from the system.
    // A shell without these has no recycle bin, desktop or shortcuts to speak of.
    virtual RecycleBinResult emptyRecycleBins() { return RecycleBinResult::NoOperation; }
    // Moves a file, a link or a folder to the recycle bin, where it can be restored from.
    virtual bool moveToRecycleBin(const std::string&) { return false; }
    // The user's desktop folder; empty when the user has none.
    virtual std::string desktopFolder() { return {}; }
    // True for a shortcut whose target is gone: a link to nothing, or a launcher whose
    // program cannot be found. Anything else (a plain file, a folder) is no broken shortcut.
    virtual bool isBrokenShortcut(const std::string&) { return false; }

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
