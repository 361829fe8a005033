#pragma once
// The drives C: to Z: and the translation between drive paths ("C:\dir\x") and native paths.
// Pure string logic: the platform implementation fills the map, every layer may use it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Drive types as the system numbers them.
enum DriveType : std::uint8_t {
    DRIVE_UNKNOWN = 0,
    DRIVE_NO_ROOT_DIR = 1,
    DRIVE_REMOVABLE = 2,
    DRIVE_FIXED = 3,
    DRIVE_REMOTE = 4,
    DRIVE_CDROM = 5,
    DRIVE_RAMDISK = 6,
};

struct Drive {
    char letter = 'C';          // upper case, 'C' to 'Z'
    std::string nativeRoot;     // folder that is the drive's root, without trailing '/' (except "/")
    std::uint8_t type = DRIVE_FIXED;
};

class DriveMap {
public:
    // Adds or replaces a drive. Letters outside C..Z are ignored.
    void set(char letter, std::string nativeRoot, std::uint8_t type);
    void clear() { drives_.clear(); }

    const Drive* find(char letter) const;
    // The drives in letter order.
    const std::vector<Drive>& drives() const { return drives_; }

    // "C:\dir\x" (or "c:/dir/x", "C:", "C:\") -> native path under the drive's root.
    // A path that is not a drive path is taken as native and returned unchanged;
    // a drive path on a letter that is not mapped gives the empty text.
    std::string toNative(const std::string& path) const;

    // Native path -> drive path through the drive whose root is the longest prefix.
    // Paths under no drive are returned unchanged.
    std::string toDrivePath(const std::string& native) const;

    // True for "X:..." forms.
    static bool isDrivePath(const std::string& path);

private:
    std::vector<Drive> drives_;
};

} // namespace platform
