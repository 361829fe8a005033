#include "platform/posix/posix_machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/ascii_text.h"
#include "platform/posix/detached_process.h"
#include "platform/posix/folder_handle.h"

namespace platform::posix {

namespace {

constexpr std::uint32_t ERROR_PRIVILEGE_NOT_HELD = 1314;

// The power-off service: the service manager's command, if this machine has one.
std::string serviceManager() {
    for (const char* p : {"/usr/bin/systemctl", "/bin/systemctl", "/usr/sbin/shutdown", "/sbin/shutdown"})
        if (::access(p, X_OK) == 0)
            return p;
    return {};
}

} // namespace

OsVersion versionFromRelease(const std::string& sysname, const std::string& release) {
    OsVersion v;
    v.platformId = VER_PLATFORM_WIN32_NT;
    std::uint32_t nums[3] = {0, 0, 0};
    size_t i = 0;
    for (int n = 0; n < 3 && i < release.size(); ++n) {
        if (release[i] < '0' || release[i] > '9')
            break;
        while (i < release.size() && release[i] >= '0' && release[i] <= '9')
            nums[n] = nums[n] * 10 + std::uint32_t(release[i++] - '0');
        if (i < release.size() && release[i] == '.')
            ++i;
        else
            break;
    }
    v.major = nums[0];
    v.minor = nums[1];
    v.build = nums[2];
    v.servicePack = sysname + " " + release;
    return v;
}

bool PosixMachine::osVersion(OsVersion& v) {
    struct utsname u;
    if (::uname(&u) != 0)
        return false;
    v = versionFromRelease(u.sysname, u.release);
    return true;
}

bool PosixMachine::openProcessToken() { return true; }

bool PosixMachine::lookupPrivilegeValue(const std::string& privilege) {
    privilegeFound_ = privilege == "SeShutdownPrivilege";
    return privilegeFound_;
}

std::uint32_t PosixMachine::adjustTokenPrivileges() {
    // Held when there is a service that can power the machine off.
    return (privilegeFound_ && !serviceManager().empty()) ? 0 : ERROR_PRIVILEGE_NOT_HELD;
}

bool PosixMachine::exitWindows(unsigned flags) {
    std::string tool = serviceManager();
    if (tool.empty())
        return false;
    bool poweroff = flags & (EWX_POWEROFF | EWX_SHUTDOWN);
    bool reboot = flags & EWX_REBOOT;
    if (!poweroff && !reboot)
        return false; // ending only the session is not ours to do
    std::vector<std::string> args{tool};
    if (tool.find("systemctl") != std::string::npos) {
        args.push_back(reboot ? "reboot" : "poweroff");
        if (flags & EWX_FORCE)
            args.push_back("--ignore-inhibitors");
    } else {
        args.push_back(reboot ? "-r" : "-P");
        args.push_back("now");
    }
    // Not waited for: the request ends this process with everything else.
    return startDetached(args, false) == 0;
}

std::string PosixMachine::windowsFolder() {
    // Drive C:'s own "Windows" folder, as a machine root of a Windows layout has it.
    const Drive* c = map_.find('C');
    std::vector<FolderName> names;
    Descriptor root = c ? openFolder(AT_FDCWD, c->nativeRoot.c_str(), true) : Descriptor();
    if (root && readFolderNames(root.get(), names)) {
        for (const FolderName& n : names) {
            struct stat st;
            if (SameText(n.name, "windows") && ::fstatat(root.get(), n.name.c_str(), &st, 0) == 0 && S_ISDIR(st.st_mode))
                return "C:\\" + n.name;
        }
    }
    return "C:\\WINDOWS";
}

ShortPath PosixMachine::shortPathName(const std::string& path, std::size_t room) {
    ShortPath r;
    std::string native = map_.toNative(path);
    struct stat st;
    if (native.empty() || ::lstat(native.c_str(), &st) != 0) {
        r.status = ShortPath::Failed;
        r.errorText = std::strerror(native.empty() ? ENOENT : errno);
        return r;
    }
    // No 8.3 names here: the short form of a path is the path.
    if (path.size() + 1 > room) {
        r.status = ShortPath::TooLong;
        return r;
    }
    r.status = ShortPath::Ok;
    r.path = path;
    return r;
}

} // namespace platform::posix
