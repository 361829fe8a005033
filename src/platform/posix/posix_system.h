#pragma once
#include <optional>
#include <string>

#include "platform/system.h"

namespace platform::posix {

class PosixSystem : public System {
public:
    PosixSystem(const DriveMap& map, std::optional<std::string> machineRoot)
        : map_(map), machineRoot_(std::move(machineRoot)) {}

    std::string programFolder() override;
    std::string executablePath() override;
    std::string currentFolder() override;
    const DriveMap& driveMap() override { return map_; }
    MutexResult acquireMutex(const std::string& name, std::unique_ptr<NamedMutex>& held) override;
    std::optional<std::string> environment(const std::string& name) override;
    bool inSystemArea(const std::string& path) override;

    // Where the lock file of a named mutex lives.
    std::string mutexPath(const std::string& name) const;

private:
    const DriveMap& map_;
    std::optional<std::string> machineRoot_;
};

} // namespace platform::posix
