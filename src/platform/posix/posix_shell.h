#pragma once
#include "platform/drive_map.h"
#include "platform/shell.h"

namespace platform::posix {

class PosixShell : public Shell {
public:
    explicit PosixShell(const DriveMap& map) : map_(map) {}

    bool deleteTree(const std::string& path) override;
    std::optional<std::string> displayName(const std::string& path) override;
    bool execute(const ShellRequest& request) override;
    ProgramStart runProgram(const ProgramRun& run) override;

private:
    const DriveMap& map_;
};

} // namespace platform::posix
