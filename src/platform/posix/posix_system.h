#pragma once
#include <map>
#include <optional>
#include <string>

#include "platform/posix/system_areas.h"
#include "platform/system.h"

namespace platform::posix {

class PosixSystem : public System {
public:
    // The system areas are `areas` when given; else none with a machine root (its drives
    // hold no operating system of their own), and this machine's own without one, read
    // when first asked for.
    PosixSystem(const DriveMap& map, std::optional<std::string> machineRoot,
                std::optional<SystemAreas> areas = std::nullopt)
        : map_(map), machineRoot_(std::move(machineRoot)), areas_(std::move(areas)) {}

    std::string programFolder() override;
    std::string executablePath() override;
    std::string currentFolder() override;
    bool setCurrentFolder(const std::string& folder) override;
    const DriveMap& driveMap() override { return map_; }
    MutexResult acquireMutex(const std::string& name, std::unique_ptr<NamedMutex>& held) override;
    std::optional<std::string> environment(const std::string& name) override;
    bool inSystemArea(const std::string& path) override;
    // As the thread's nice value; raising it above normal needs a privilege most users lack.
    bool setThreadPriority(int priority) override;
    std::vector<std::string> hostAddresses() override;

    // Answers environment() from `vars` alone instead of the process environment (tests).
    void setEnvironment(std::optional<std::map<std::string, std::string>> vars) { environment_ = std::move(vars); }

    // Where the lock file of a named mutex lives.
    std::string mutexPath(const std::string& name) const;

private:
    const DriveMap& map_;
    std::optional<std::string> machineRoot_;
    std::optional<SystemAreas> areas_;
    std::optional<std::map<std::string, std::string>> environment_;
};

} // namespace platform::posix
