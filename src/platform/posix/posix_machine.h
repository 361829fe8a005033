#pragma once
#include <string>

#include "platform/drive_map.h"
#include "platform/machine.h"

namespace platform::posix {

// The kernel's version (reported as a system of the NT family, whose shut-down needs a
// privilege), power-off through the service manager, the Windows folder of drive C:.
class PosixMachine : public Machine {
public:
    explicit PosixMachine(const DriveMap& map) : map_(map) {}

    bool osVersion(OsVersion& v) override;
    bool openProcessToken() override;
    bool lookupPrivilegeValue(const std::string& privilege) override;
    std::uint32_t adjustTokenPrivileges() override;
    bool exitWindows(unsigned flags) override;
    std::string windowsFolder() override;
    ShortPath shortPathName(const std::string& path, std::size_t room) override;
    std::string temporaryPath() override { return temporaryPath_; }
    void setTemporaryPath(std::string p) { temporaryPath_ = std::move(p); }

private:
    const DriveMap& map_;
    std::string temporaryPath_ = "/tmp/";
    bool privilegeFound_ = false;
};

// Version numbers from a kernel release text ("6.18.44-generic": 6, 18, build 44).
OsVersion versionFromRelease(const std::string& sysname, const std::string& release);

} // namespace platform::posix
