#pragma once
// The shell's operations on files that the system asks for by path.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

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
};

// The shell's name of a drive: "本地磁盘 (C:)" and the like, by drive type.
std::string driveDisplayName(char letter, std::uint8_t driveType);

} // namespace platform
