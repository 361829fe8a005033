#pragma once
// Puts the program's folder somewhere a test chooses (a folder on a TempMachine drive), so
// settings files are read and written there and never beside the test executable.
// Create it after the TempMachine; it restores the previous services when it goes.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace testsupport {

class ProgramFolderAt : public platform::System {
public:
    // `folder` is a drive path ("C:\QuorCleaner"); it is created when missing.
    explicit ProgramFolderAt(std::string folder);
    ~ProgramFolderAt() override;
    ProgramFolderAt(const ProgramFolderAt&) = delete;
    ProgramFolderAt& operator=(const ProgramFolderAt&) = delete;

    // "name" inside the folder, as a drive path.
    std::string file(const std::string& name) const { return folder_ + "\\" + name; }

    std::string programFolder() override { return folder_; }
    std::string executablePath() override { return inner_->executablePath(); }
    // Kept here: a test never moves the test program's own current folder.
    std::string currentFolder() override { return current_.empty() ? inner_->currentFolder() : current_; }
    bool setCurrentFolder(const std::string& folder) override {
        current_ = folder;
        return true;
    }
    const platform::DriveMap& driveMap() override { return inner_->driveMap(); }
    platform::MutexResult acquireMutex(const std::string& name, std::unique_ptr<platform::NamedMutex>& held) override {
        return inner_->acquireMutex(name, held);
    }
    std::optional<std::string> environment(const std::string& name) override { return inner_->environment(name); }
    bool inSystemArea(const std::string& path) override { return inner_->inSystemArea(path); }

private:
    std::string folder_, current_;
    platform::Services previous_;
    platform::System* inner_;
};

} // namespace testsupport
