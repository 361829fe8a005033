#pragma once
// Process-level services: folders of the program, the named mutex, the environment.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drive_map.h"

namespace platform {

// A named, process-wide lock held until released or until the process dies.
class NamedMutex {
public:
    virtual ~NamedMutex() = default;
};

enum class MutexResult {
    Acquired,  // we own it now (also when a previous owner died without releasing it)
    Busy,      // another running copy owns it
    Failed,    // the mutex could not be created; callers go on as if acquired
};

class System {
public:
    virtual ~System() = default;

    // Folder of the running executable, as a drive path where the drive map reaches it.
    virtual std::string programFolder() = 0;
    // Full path of the running executable, the same way; empty when the system cannot say.
    virtual std::string executablePath() { return {}; }
    // The process's current folder, the same way.
    virtual std::string currentFolder() = 0;
    // Makes `folder` (a drive path) the process's current folder; false when it cannot be.
    virtual bool setCurrentFolder(const std::string&) { return false; }

    virtual const DriveMap& driveMap() = 0;

    // Creates or opens the mutex and tries to take it without waiting.
    virtual MutexResult acquireMutex(const std::string& name, std::unique_ptr<NamedMutex>& held) = 0;

    virtual std::optional<std::string> environment(const std::string& name) = 0;

    // True when `path` (a drive path) lies in a folder the system needs (its own folders,
    // the users' home folders, mount points and the like), or holds one, so that bulk
    // deletions leave it alone as they leave the Windows folder and the profiles.
    virtual bool inSystemArea(const std::string& path) = 0;

    // Sets the calling thread's priority, from -15 (idle) through 0 (normal) to 15 (time
    // critical); false when the system refuses it.
    virtual bool setThreadPriority(int) { return false; }

    // The addresses this computer's own host name resolves to, in dotted form, in the
    // resolver's order; empty when it resolves to none.
    virtual std::vector<std::string> hostAddresses() { return {}; }
};

} // namespace platform
