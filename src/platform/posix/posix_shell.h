#pragma once
#include "platform/drive_map.h"
#include "platform/shell.h"

namespace platform::posix {

// An address as the desktop's opener takes it: the bytes a URI cannot carry (blanks, line
// ends, other control characters, bytes above 127, quotes, braces and the like, a "%" that
// starts no escape) percent-encoded, the rest left as written.
std::string uriForOpener(const std::string& address);

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
