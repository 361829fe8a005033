#pragma once
// The POSIX implementation of the platform services.
//
// Drives come from the mount table (C: is "/"), or from a machine root: a folder whose
// "dosdevices/c:", "dosdevices/d:", ... are links to the folders that are those drives.
// The program is pointed at a machine root by the environment variable
// QUORCLEANER_MACHINE_ROOT; nothing else in the program reads it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/hive_registry.h"
#include "platform/platform.h"

namespace platform::posix {

// Builds the default drive map from the text of /proc/self/mounts.
DriveMap driveMapFromMountTable(const std::string& mounts);
// Builds the drive map of a machine root's "dosdevices" folder.
DriveMap driveMapFromMachineRoot(const std::string& machineRoot);

class PosixFileSystem;
class PosixSystem;
class PosixShell;
class PosixClock;
class PosixMachine;
class CurlHttp;
class PosixTextCodec;
class PosixVersionInfo;
class PosixShellNamespace;

class PosixPlatform {
public:
    // With a machine root the drives are its dosdevices; without one, the mount table's.
    explicit PosixPlatform(std::optional<std::string> machineRoot = std::nullopt);
    ~PosixPlatform();
    PosixPlatform(const PosixPlatform&) = delete;
    PosixPlatform& operator=(const PosixPlatform&) = delete;

    // The machine root named by QUORCLEANER_MACHINE_ROOT, if any.
    static std::optional<std::string> machineRootFromEnvironment();

    const std::optional<std::string>& machineRoot() const { return machineRoot_; }
    DriveMap& driveMap() { return map_; }

    PosixFileSystem& files() { return *files_; }
    PosixSystem& system() { return *system_; }
    PosixShell& shell() { return *shell_; }
    PosixClock& clock() { return *clock_; }
    PosixMachine& machine() { return *machine_; }
    PosixTextCodec& text() { return *text_; }
    PosixVersionInfo& versionInfo() { return *version_; }
    PosixShellNamespace& shellNamespace() { return *namespace_; }
    // The machine root's hives "system.reg" and "user.reg" (in that order); empty without
    // a machine root.
    HiveRegistry& registry() { return *registry_; }
    CurlHttp& http() { return *http_; }
    // One text for each hive that could not be read and was left out, naming its file
    // and line (also written to the standard error).
    const std::vector<std::string>& hiveProblems() const { return hiveProblems_; }
    // A set of services wired to this platform, ready to install.
    Services services();

private:
    void loadHives();

    std::optional<std::string> machineRoot_;
    DriveMap map_;
    std::unique_ptr<PosixFileSystem> files_;
    std::unique_ptr<PosixSystem> system_;
    std::unique_ptr<PosixShell> shell_;
    std::unique_ptr<PosixClock> clock_;
    std::unique_ptr<PosixMachine> machine_;
    std::unique_ptr<HiveRegistry> registry_;
    std::unique_ptr<CurlHttp> http_;
    std::unique_ptr<PosixTextCodec> text_;
    std::unique_ptr<PosixVersionInfo> version_;
    std::unique_ptr<PosixShellNamespace> namespace_;
    std::vector<std::string> hiveProblems_;
};

} // namespace platform::posix
