#pragma once
#include "platform/drive_map.h"
#include "platform/posix/posix_user_folders.h"
#include "platform/shell.h"

namespace platform::posix {

class PosixShell : public Shell {
public:
    explicit PosixShell(const DriveMap& map) : map_(map) {}

    bool deleteTree(const std::string& path) override;
    std::optional<std::string> displayName(const std::string& path) override;
    bool execute(const ShellRequest& request) override;
    ProgramStart runProgram(const ProgramRun& run) override;
    // The desktop and the trash (posix_user_folders.cpp): those of `user`, and the trash
    // of each drive's file system.
    RecycleBinResult emptyRecycleBins() override;
    bool moveToRecycleBin(const std::string& path) override;
    std::string desktopFolder() override;
    bool isBrokenShortcut(const std::string& path) override;
    void setUserFolders(UserFolders user) { user_ = std::move(user); }

private:
    std::vector<std::string> driveRoots() const;
    const DriveMap& map_;
    UserFolders user_;
};

// Empties the open folder `dirfd` as deleteTree empties a folder: links are removed, never
// followed, other file systems are not entered, what the system refuses to delete stays.
bool deleteFolderContents(int dirfd);

} // namespace platform::posix
