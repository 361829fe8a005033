#pragma once
// A stand-in for the file system that hands every call to the installed one, for fakes
// that change one or two answers. It installs itself while it lives and puts the previous
// file system back when it goes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace testsupport {

class ForwardingFileSystem : public platform::FileSystem {
public:
    ForwardingFileSystem() : real(&platform::files()) {
        auto s = platform::services();
        s.files = this;
        platform::install(s);
    }
    ~ForwardingFileSystem() override {
        auto s = platform::services();
        s.files = real;
        platform::install(s);
    }
    ForwardingFileSystem(const ForwardingFileSystem&) = delete;
    ForwardingFileSystem& operator=(const ForwardingFileSystem&) = delete;

    // The listing with options is left to its default on purpose: it comes back through
    // this one, so a fake that watches listings sees them all.
    bool listFolder(const std::string& folder, platform::ListDetail detail,
                    const std::function<bool(const platform::DirEntry&)>& onEntry) override {
        return real->listFolder(folder, detail, onEntry);
    }
    bool findEntry(const std::string& p, platform::DirEntry& e) override { return real->findEntry(p, e); }
    bool exists(const std::string& p) override { return real->exists(p); }
    bool isDirectory(const std::string& p) override { return real->isDirectory(p); }
    std::string readFile(const std::string& p) override { return real->readFile(p); }
    void writeFile(const std::string& p, const std::string& d) override { real->writeFile(p, d); }
    void writeFileAtomic(const std::string& p, const std::string& d) override { real->writeFileAtomic(p, d); }
    bool deleteFile(const std::string& p) override { return real->deleteFile(p); }
    std::unique_ptr<platform::DeletionBatch> beginDeletions() override { return real->beginDeletions(); }
    bool removeDirectory(const std::string& p) override { return real->removeDirectory(p); }
    bool renameFile(const std::string& a, const std::string& b) override { return real->renameFile(a, b); }
    bool createDirectory(const std::string& p) override { return real->createDirectory(p); }
    bool ownedByUser(const std::string& p) override { return real->ownedByUser(p); }
    std::unique_ptr<platform::OpenFile> openFile(const std::string& p) override { return real->openFile(p); }
    std::unique_ptr<platform::OpenFile> createFile(const std::string& p, std::uint32_t a) override {
        return real->createFile(p, a);
    }
    bool setRunnable(const std::string& p) override { return real->setRunnable(p); }
    bool setFileTimes(const std::string& p, platform::FileTime c, platform::FileTime w) override {
        return real->setFileTimes(p, c, w);
    }
    std::uint8_t driveType(const std::string& r) override { return real->driveType(r); }
    bool diskFreeSpace(const std::string& r, std::int64_t& t, std::int64_t& f) override {
        return real->diskFreeSpace(r, t, f);
    }
    std::string lastErrorText() override { return real->lastErrorText(); }

protected:
    platform::FileSystem* real;
};

} // namespace testsupport
