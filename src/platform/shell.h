#pragma once
// The shell's operations on files that the system asks for by path.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// A request to the shell to perform a verb (ShellExecute).
struct ShellRequest {
    std::string verb;       // "open", "properties"
    std::string file;       // a drive path, or an address ("http://...", "mailto:...")
    std::string parameters; // handed to a program that "open" starts
    int show = 1;           // the show command (SW_SHOWNORMAL 1, SW_SHOW 5, 0 hidden)
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

    // A verb on a file, a folder or an address, handed to whatever the system associates
    // with it: "open" runs or shows it, "properties" shows its properties dialog. Returns
    // at once, never waiting for the program it starts; false when the request could not
    // be made (a path that does not exist, no such verb, nothing to start).
    virtual bool execute(const ShellRequest& request) = 0;
};

// The shell's name of a drive: "本地磁盘 (C:)" and the like, by drive type.
std::string driveDisplayName(char letter, std::uint8_t driveType);

} // namespace platform
