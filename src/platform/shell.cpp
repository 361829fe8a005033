#include "platform/shell.h"

#include "common/ascii_text.h"
#include "platform/drive_map.h"

namespace platform {

std::string driveKindName(std::uint8_t driveType) {
    switch (driveType) {
    case DRIVE_REMOVABLE: return "可移动磁盘";
    case DRIVE_REMOTE: return "网络驱动器";
    case DRIVE_CDROM: return "CD 驱动器";
    case DRIVE_RAMDISK: return "RAM 磁盘";
    default: return "本地磁盘";
    }
}

std::string driveDisplayName(char letter, std::uint8_t driveType) {
    return driveKindName(driveType) + " (" + AsciiUpper(letter) + ":)";
}

} // namespace platform
