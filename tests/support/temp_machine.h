#pragma once
// A temporary machine root: drives C:, D:, ... are temporary folders reached through
// "dosdevices" links, and its platform services are installed for the test's lifetime.
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/posix/posix_platform.h"
#include "support/recorders.h"

namespace testsupport {

class TempMachine {
public:
    // `drives` lists the letters to create ("CD" makes C: and D:).
    explicit TempMachine(const std::string& drives = "C");
    ~TempMachine();
    TempMachine(const TempMachine&) = delete;
    TempMachine& operator=(const TempMachine&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Native folder of drive `letter`.
    std::filesystem::path drive(char letter) const;
    // Native path of a drive path ("C:\a\b").
    std::filesystem::path native(const std::string& drivePath) const;

    // Creates a file (and its folders) with `content`; returns its native path.
    std::filesystem::path writeFile(const std::string& drivePath, const std::string& content = "");
    std::filesystem::path makeDir(const std::string& drivePath);
    std::string readFile(const std::string& drivePath) const;

    platform::posix::PosixPlatform& platform() { return *platform_; }
    // Installed in place of the real machine services: power-off requests are recorded,
    // never made.
    RecordingMachine& machine() { return machine_; }
    // Installed in place of the real shell: its verbs are recorded, nothing is started.
    RecordingShell& shell() { return shell_; }
    // Rebuilds the platform after the drive layout changed on disk.
    void reload();

    // The program's environment on this machine: only what a test sets here, never the
    // environment of the test process (its TMPDIR, HOME, PATH).
    void setEnvironment(const std::string& name, const std::string& value);
    // The user's home folder of this machine ("home" in the root): its desktop is
    // home/Desktop and its trash home/.local/share/Trash.
    std::filesystem::path home() const { return root_ / "home"; }

private:
    std::filesystem::path root_;
    std::unique_ptr<platform::posix::PosixPlatform> platform_;
    platform::Services previous_;
    std::map<std::string, std::string> environment_;
    RecordingMachine machine_;
    RecordingShell shell_;
};

} // namespace testsupport
