#pragma once
#include "platform/file_system.h"
#include "platform/drive_map.h"

namespace platform::posix {

class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(const DriveMap& map) : map_(map) {}

    bool listFolder(const std::string& folder, ListDetail detail,
                    const std::function<bool(const DirEntry&)>& onEntry) override;
    bool findEntry(const std::string& path, DirEntry& entry) override;
    bool exists(const std::string& path) override;
    bool isDirectory(const std::string& path) override;
    std::string readFile(const std::string& path) override;
    void writeFile(const std::string& path, const std::string& data) override;
    void writeFileAtomic(const std::string& path, const std::string& data) override;
    bool deleteFile(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    bool createDirectory(const std::string& path) override;
    // posix_deletion_rules.cpp
    bool ownedByUser(const std::string& path) override;
    std::unique_ptr<DeletionBatch> beginDeletions() override;
    // Hidden is a matter of the name here and there is no temporary bit: only read-only is kept.
    std::unique_ptr<OpenFile> openFile(const std::string& path) override;
    std::unique_ptr<OpenFile> createFile(const std::string& path, std::uint32_t attributes) override;
    bool setRunnable(const std::string& path) override;
    bool setFileTimes(const std::string& path, FileTime creation, FileTime lastWrite) override;
    std::uint8_t driveType(const std::string& root) override;
    bool diskFreeSpace(const std::string& root, std::int64_t& total, std::int64_t& freeBytes) override;
    std::string lastErrorText() override;

private:
    std::string native(const std::string& path) const { return map_.toNative(path); }
    const DriveMap& map_;
};

} // namespace platform::posix
