#include "platform/shell.h"

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
    if (letter >= 'a' && letter <= 'z')
        letter = char(letter - 'a' + 'A');
    return std::string(kind) + " (" + letter + ":)";
}

} // namespace platform
