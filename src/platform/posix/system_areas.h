#pragma once
// The folders of this machine that bulk deletions leave alone, as they leave the Windows
// folder and the profiles: the operating system's own folders, every home folder, the
// system's runtime and temporary folders, the places where drives are mounted, and every
// lost+found.
#include <string>
#include <vector>

namespace platform::posix {

class SystemAreas {
public:
    // The areas of the machine whose root folder is `root` ("/" for this machine): its
    // password file, mount table and fstab are given as text, with paths as seen from
    // that root.
    SystemAreas(std::string root, const std::string& passwd, const std::string& mounts, const std::string& fstab);
    // This machine's own: /etc/passwd (and the running user's home), the mount table and
    // /etc/fstab.
    static SystemAreas ofThisMachine();

    // Adds a folder (a path from the root) as an area.
    void add(const std::string& folder);

    // True when deleting `native` (an absolute path) or its tree would reach an area: it
    // lies in one, is one or holds one.
    bool reaches(const std::string& native) const;

    // The folders named by the files and added, as paths from the root, sorted.
    const std::vector<std::string>& named() const { return named_; }

private:
    std::string root_;
    std::vector<std::string> named_;
};

// A field of the mount table or of fstab with its octal escapes ("\040" for a blank) undone.
std::string unescapeMountField(const std::string& field);

} // namespace platform::posix
