#include "services/disk.h"

#include "platform/platform.h"
#include "settings/setting.h"

namespace {
std::string rootOf(int number) { return std::string(1, char('A' + number - 1)) + ":\\"; }
} // namespace

TDisk::TDisk() {
    for (int n = 3; n <= 26; ++n) {
        std::string root = rootOf(n);
        if (!TSetting::DriveExists(root))
            continue;
        roots_.push_back(root);
        ++Count;
        TDriveRecord& r = records_[std::size_t(n)];
        r.DriveNo = std::uint8_t(n);
        r.DriveType = DriveTypeOf(root);
        // Asking a network share or a disc drive for its space can hang or spin up.
        if (r.DriveType == platform::DRIVE_REMOTE || r.DriveType == platform::DRIVE_CDROM)
            continue;
        std::int64_t total = 0, freeBytes = 0;
        if (platform::files().diskFreeSpace(root, total, freeBytes)) {
            r.DriveSize = total;
            r.DriveFree = freeBytes;
        } else {
            r.DriveSize = -1;
            r.DriveFree = -1;
        }
    }
}

std::string TDisk::DriveName(int index) const {
    if (index < 0 || index >= int(roots_.size()))
        return {};
    return roots_[std::size_t(index)];
}

TDriveRecord TDisk::DriveInfo(int number) const {
    if (number < 1 || number > 26)
        return {};
    return records_[std::size_t(number)];
}

std::uint8_t TDisk::DriveTypeOf(const std::string& root) {
    std::uint8_t t = platform::files().driveType(root);
    return t > 6 ? 0 : t;
}
