#pragma once
#include "platform/drive_map.h"
#include "platform/version_info.h"

namespace platform::posix {

// Executables here carry no version resource: the program's own is compiled in and
// answered for the running executable; every other file has none.
class PosixVersionInfo : public VersionInfo {
public:
    explicit PosixVersionInfo(const DriveMap& map) : map_(map) {}

    std::uint32_t infoSize(const std::string& path) override;
    bool loadInfo(const std::string& path, std::uint32_t size, VersionResource& out) override;

    // The version information of this program.
    static const VersionResource& programResource();

private:
    bool isRunningExecutable(const std::string& path) const;
    const DriveMap& map_;
};

} // namespace platform::posix
