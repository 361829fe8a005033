#pragma once
// Stand-ins for the services whose effects reach past the program or depend on the
// machine: the power-off request, the shell's verbs and the clock. TempMachine installs a
// RecordingMachine and a RecordingShell over the real ones, so no test can ever shut the
// computer down or start a desktop program.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/machine.h"
#include "platform/shell.h"

namespace testsupport {

class RecordingMachine : public platform::Machine {
public:
    // Asked for the Windows folder and short paths (and the version unless `version` is set).
    platform::Machine* real = nullptr;

    // Scripted answers.
    std::optional<platform::OsVersion> version;
    bool versionFails = false;
    bool tokenOpens = true;
    bool privilegeFound = true;
    std::uint32_t adjustError = 0;

    // What was asked, in order: "openProcessToken", "lookupPrivilegeValue SeShutdownPrivilege",
    // "adjustTokenPrivileges", "exitWindows 12".
    std::vector<std::string> calls;
    // The flags of every request to end the session; nothing else happens.
    std::vector<unsigned> exitRequests;

    bool osVersion(platform::OsVersion& v) override;
    bool openProcessToken() override;
    bool lookupPrivilegeValue(const std::string& privilege) override;
    std::uint32_t adjustTokenPrivileges() override;
    bool exitWindows(unsigned flags) override;
    std::string windowsFolder() override;
    platform::ShortPath shortPathName(const std::string& path, std::size_t room) override;
    std::string temporaryPath() override { return real ? real->temporaryPath() : "C:\\TEMP\\"; }
};

// Deletes and names through the real shell; records the verbs and the programs asked
// for and starts nothing.
class RecordingShell : public platform::Shell {
public:
    platform::Shell* real = nullptr;
    std::vector<platform::ShellRequest> requests;
    bool executeResult = true;
    std::vector<platform::ProgramRun> runs;
    platform::ProgramStart runResult{true, {}};

    bool deleteTree(const std::string& path) override { return real && real->deleteTree(path); }
    std::optional<std::string> displayName(const std::string& path) override {
        return real ? real->displayName(path) : std::nullopt;
    }
    bool execute(const platform::ShellRequest& request) override {
        requests.push_back(request);
        return executeResult;
    }
    platform::ProgramStart runProgram(const platform::ProgramRun& run) override {
        runs.push_back(run);
        return runResult;
    }

    // The recycle bins are the machine's own (a test trash): emptied through the real shell
    // unless an answer is scripted, as for a system without the operation.
    int emptyRecycleBinsCalls = 0;
    std::optional<platform::RecycleBinResult> recycleBinAnswer;
    platform::RecycleBinResult emptyRecycleBins() override {
        ++emptyRecycleBinsCalls;
        if (recycleBinAnswer || !real)
            return recycleBinAnswer.value_or(platform::RecycleBinResult::NoOperation);
        return real->emptyRecycleBins();
    }
    bool moveToRecycleBin(const std::string& path) override { return real && real->moveToRecycleBin(path); }
    std::string desktopFolder() override { return real ? real->desktopFolder() : std::string(); }
    bool isBrokenShortcut(const std::string& path) override { return real && real->isBrokenShortcut(path); }
};

// A clock at a fixed time, in a time zone of a fixed offset, with chosen separators.
class FixedClock : public platform::Clock {
public:
    platform::FileTime utcNow = 0;
    int offsetMinutes = 0; // local time = UTC + offset
    std::string date = "/", time = ":";

    // 2008-08-01 09:30:18 UTC and the like, as a file time.
    static platform::FileTime fileTime(int year, int month, int day, int hour, int minute, int second);

    platform::FileTime now() override { return utcNow; }
    bool toLocal(platform::FileTime utc, platform::SystemTime& local) override;
    std::string dateSeparator() override { return date; }
    std::string timeSeparator() override { return time; }
};

} // namespace testsupport
