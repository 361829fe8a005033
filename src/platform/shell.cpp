#include "platform/shell.h"

#include "common/ascii_text.h"
#include "platform/drive_map.h"

namespace platform {

std::string driveDisplayName(char letter, std::uint8_t driveType) {
    const char* kind;
    switch (driveType) {
    case DRIVE_REMOVABLE: kind = "可移动磁盘"; break;
    case DRIVE_REMOTE: kind = "网络驱动器"; break;
    case DRIVE_CDROM: kind = "CD 驱动器"; break;
    case DRIVE_RAMDISK: kind = "RAM 磁盘"; break;
    default: kind = "本地磁盘"; break;
    }
    return std::string(kind) + " (" + AsciiUpper(letter) + ":)";
}

} // namespace platform
