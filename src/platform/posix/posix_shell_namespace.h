#pragma once
// The namespace over the drive map: the desktop holds "My Computer", which holds the
// drives; a drive holds the folders and files of its root. Links and mount points are
// entries, never folders: a mounted file system is reached as a drive of its own.
#include "platform/drive_map.h"
#include "platform/file_system.h"
#include "platform/shell_namespace.h"

namespace platform::posix {

class PosixShellNamespace : public ShellNamespace {
public:
    PosixShellNamespace(const DriveMap& map, FileSystem& files) : map_(map), files_(files) {}

    std::unique_ptr<ShellFolder> desktopFolder() override;
    IdList myComputer() override;
    std::unique_ptr<ShellFolder> bindToFolder(ConstItemIdList absolute) override;
    IdList parseDisplayName(const std::string& text) override;
    std::string typeName(ConstItemIdList absolute) override;
    int iconIndex(ConstItemIdList absolute, bool large, bool open) override;

private:
    const DriveMap& map_;
    FileSystem& files_;
};

} // namespace platform::posix
