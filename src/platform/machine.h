#pragma once
// The machine as a whole: the system's version, the right to shut it down and the
// power-off request, the Windows folder, short path names.
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

enum OsPlatform : std::uint32_t {
    VER_PLATFORM_WIN32s = 0,
    VER_PLATFORM_WIN32_WINDOWS = 1,
    VER_PLATFORM_WIN32_NT = 2,
};

struct OsVersion {
    std::uint32_t major = 0, minor = 0, build = 0;
    std::uint32_t platformId = 0;
    std::string servicePack;
};

// Flags of a request to end the session.
enum ExitFlag : unsigned { EWX_LOGOFF = 0, EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_FORCE = 4, EWX_POWEROFF = 8 };

struct ShortPath {
    enum Status { Ok, TooLong, Failed } status = Failed;
    std::string path;      // with Ok
    std::string errorText; // with Failed: the system's message for the error
};

class Machine {
public:
    virtual ~Machine() = default;

    // False when the system does not say.
    virtual bool osVersion(OsVersion& v) = 0;

    // The steps that give the process the right to shut the machine down, in order.
    virtual bool openProcessToken() = 0;
    virtual bool lookupPrivilegeValue(const std::string& privilege) = 0;
    // Enables the privilege looked up; returns the system's error code afterwards
    // (0 when the privilege is now held).
    virtual std::uint32_t adjustTokenPrivileges() = 0;
    // Asks the system to end the session (ExitFlag bits); returns at once.
    virtual bool exitWindows(unsigned flags) = 0;

    // The Windows directory, as a drive path without a trailing separator.
    virtual std::string windowsFolder() = 0;
    // The system's temporary path, ending in a separator; empty when there is none.
    virtual std::string temporaryPath() { return {}; }
    // The short form of an existing path; TooLong when it needs `room` characters or more
    // (room counts the terminating zero, as the system does).
    virtual ShortPath shortPathName(const std::string& path, std::size_t room) = 0;
};

} // namespace platform
