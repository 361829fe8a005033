#include "platform/posix/posix_platform.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/posix/curl_http.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/posix_shell.h"
#include "platform/posix/posix_shell_namespace.h"
#include "platform/posix/posix_system.h"
#include "platform/posix/posix_text_codec.h"
#include "platform/posix/posix_version_info.h"
#include "platform/posix/system_areas.h"
#include "platform/posix/posix_user_folders.h"

namespace platform::posix {

namespace {

// File systems that hold no user data: they are never drives.
bool isPseudo(const std::string& type) {
    static const std::set<std::string> pseudo = {
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "securityfs", "debugfs",
        "tracefs", "pstore", "bpf", "mqueue", "hugetlbfs", "configfs", "fusectl", "autofs",
        "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "selinuxfs", "ramfs", "overlay_pseudo",
        "fuse.gvfsd-fuse", "fuse.portal", "squashfs", "nfsd"};
    return pseudo.count(type) != 0;
}

// Mount points below these folders belong to the system's plumbing, not to the user.
bool isPlumbing(const std::string& dir) {
    for (const char* p : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot/efi"}) {
        std::string s = p;
        if (dir == s || dir.compare(0, s.size() + 1, s + "/") == 0)
            return true;
    }
    return false;
}

std::uint8_t typeOf(const std::string& type, const std::string& dir) {
    if (type == "nfs" || type == "nfs4" || type == "cifs" || type == "smb3" || type == "smbfs" ||
        type == "9p" || type == "fuse.sshfs" || type == "afs" || type == "ceph")
        return DRIVE_REMOTE;
    if (type == "iso9660" || type == "udf")
        return DRIVE_CDROM;
    if (type == "tmpfs")
        return DRIVE_RAMDISK;
    if (dir.compare(0, 7, "/media/") == 0 || dir.compare(0, 11, "/run/media/") == 0)
        return DRIVE_REMOVABLE;
    return DRIVE_FIXED;
}

bool isDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

DriveMap driveMapFromMountTable(const std::string& mounts) {
    DriveMap map;
    map.set('C', "/", DRIVE_FIXED);
    std::set<std::string> seen = {"/"};
    char next = 'D';
    std::istringstream in(mounts);
    std::string line;
    while (std::getline(in, line) && next <= 'Z') {
        std::istringstream fields(line);
        std::string dev, dir, type;
        if (!(fields >> dev >> dir >> type))
            continue;
        dir = unescapeMountField(dir);
        if (isPseudo(type) || isPlumbing(dir) || seen.count(dir))
            continue;
        // Bind mounts of single files (a container's /etc/hosts) are no drives.
        if (!isDirectory(dir))
            continue;
        seen.insert(dir);
        map.set(next++, dir, typeOf(type, dir));
    }
    return map;
}

DriveMap driveMapFromMachineRoot(const std::string& machineRoot) {
    DriveMap map;
    std::error_code ec;
    std::filesystem::path dos = std::filesystem::path(machineRoot) / "dosdevices";
    for (char c = 'c'; c <= 'z'; ++c) {
        std::filesystem::path link = dos / (std::string(1, c) + ":");
        if (!std::filesystem::exists(link, ec))
            continue;
        std::filesystem::path target = std::filesystem::canonical(link, ec);
        if (ec || !std::filesystem::is_directory(target, ec))
            continue;
        // A marker file beside the link may give the drive's type ("c:.type" holding a number).
        std::uint8_t type = DRIVE_FIXED;
        std::ifstream t(dos / (std::string(1, c) + ":.type"));
        int n;
        if (t >> n && n >= 0 && n <= 6)
            type = std::uint8_t(n);
        map.set(char(c - 'a' + 'A'), target.string(), type);
    }
    return map;
}

PosixPlatform::PosixPlatform(std::optional<std::string> machineRoot) : machineRoot_(std::move(machineRoot)) {
    if (machineRoot_) {
        std::error_code ec;
        auto abs = std::filesystem::absolute(*machineRoot_, ec);
        if (!ec)
            machineRoot_ = abs.lexically_normal().string();
        map_ = driveMapFromMachineRoot(*machineRoot_);
    } else {
        std::ifstream f("/proc/self/mounts");
        std::stringstream ss;
        ss << f.rdbuf();
        map_ = driveMapFromMountTable(ss.str());
    }
    files_ = std::make_unique<PosixFileSystem>(map_);
    system_ = std::make_unique<PosixSystem>(map_, machineRoot_);
    shell_ = std::make_unique<PosixShell>(map_);
    clock_ = std::make_unique<PosixClock>();
    machine_ = std::make_unique<PosixMachine>(map_);
    // The user's trash and desktop, and the temporary path: a machine root's own.
    EnvironmentLookup env = [sys = system_.get()](const std::string& name) { return sys->environment(name); };
    if (machineRoot_) {
        shell_->setUserFolders(userFoldersOfMachineRoot(*machineRoot_, env));
        machine_->setTemporaryPath("C:\\TEMP\\");
    } else {
        shell_->setUserFolders(userFoldersOfProcess(env));
        std::string tmp = map_.toDrivePath("/tmp");
        char separator = DriveMap::isDrivePath(tmp) ? '\\' : '/';
        if (tmp.empty() || tmp.back() != separator)
            tmp += separator;
        machine_->setTemporaryPath(tmp);
    }
    http_ = std::make_unique<CurlHttp>();
    text_ = std::make_unique<PosixTextCodec>();
    registry_ = std::make_unique<HiveRegistry>(text_.get());
    version_ = std::make_unique<PosixVersionInfo>(map_);
    namespace_ = std::make_unique<PosixShellNamespace>(map_, *files_);
    if (machineRoot_)
        loadHives();
}

void PosixPlatform::loadHives() {
    // A hive that cannot be read is passed over with a word on the standard error: the
    // program starts with the other one rather than not at all.
    for (const char* hive : {"system.reg", "user.reg"}) {
        std::string path = *machineRoot_ + "/" + hive;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT)
            continue;
        std::string problem;
        try {
            HiveProblem p;
            if (!registry_->load(files_->readFile(path), &p))
                problem = "\"" + path + "\", line " + std::to_string(p.line) + ": " + p.reason;
        } catch (const std::exception& e) {
            problem = "\"" + path + "\": " + e.what();
        }
        if (!problem.empty()) {
            hiveProblems_.push_back("Registry hive skipped: " + problem);
            std::fprintf(stderr, "quorcleaner: %s\n", hiveProblems_.back().c_str());
        }
    }
}

PosixPlatform::~PosixPlatform() = default;

std::optional<std::string> PosixPlatform::machineRootFromEnvironment() {
    const char* v = std::getenv("QUORCLEANER_MACHINE_ROOT");
    if (!v || !*v)
        return std::nullopt;
    return std::string(v);
}

Services PosixPlatform::services() {
    Services s;
    s.files = files_.get();
    s.system = system_.get();
    s.shell = shell_.get();
    s.clock = clock_.get();
    s.machine = machine_.get();
    s.registry = registry_.get();
    s.http = http_.get();
    s.text = text_.get();
    s.version = version_.get();
    s.shellNamespace = namespace_.get();
    return s;
}

} // namespace platform::posix
