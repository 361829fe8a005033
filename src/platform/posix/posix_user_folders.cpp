#include "platform/posix/posix_user_folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/posix/percent_encoding.h"
#include "platform/posix/posix_deletion_rules.h"
#include "platform/posix/posix_shell.h"

namespace platform::posix {

namespace {

std::string withoutTrailingSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

bool realFolder(const std::string& p) {
    struct stat st;
    return ::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// XDG_DESKTOP_DIR="$HOME/Desktop" from the user's user-dirs.dirs; empty when not named.
std::string desktopFromUserDirs(const std::string& file, const std::string& home) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DESKTOP_DIR=";
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string v = line.substr(key.size());
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
            v = v.substr(1, v.size() - 2);
        if (v.compare(0, 5, "$HOME") == 0)
            v = home + v.substr(5);
        return v.empty() || v[0] != '/' ? std::string() : withoutTrailingSlash(v);
    }
    return {};
}


bool under(const std::string& path, const std::string& folder) {
    if (folder.empty())
        return false;
    if (folder == "/")
        return path.size() > 1 && path[0] == '/';
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

bool makeFolder(const std::string& p, mode_t mode) {
    return ::mkdir(p.c_str(), mode) == 0 || (errno == EEXIST && realFolder(p));
}

bool makeFolders(const std::string& p, mode_t mode) {
    if (realFolder(p))
        return true;
    auto slash = p.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(p.substr(0, slash), mode))
        return false;
    return makeFolder(p, mode);
}

// "<top>/.Trash/<uid>" is the user's only when ".Trash" is a real folder with the sticky bit.
std::string sharedTrashOf(const std::string& top, uid_t uid) {
    std::string shared = (top == "/" ? "" : top) + "/.Trash";
    struct stat st;
    if (::lstat(shared.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || !(st.st_mode & S_ISVTX))
        return {};
    return shared + "/" + std::to_string(uid);
}

std::string ownTrashOf(const std::string& top, uid_t uid) {
    return (top == "/" ? "" : top) + "/.Trash-" + std::to_string(uid);
}

std::string homeTrash(const UserFolders& user) {
    return user.dataHome.empty() ? std::string() : user.dataHome + "/Trash";
}

std::string localTimeText() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &tm);
    return buf;
}

// Records `native` in `trash` and moves it into "files/". The record is made first, by a
// name nobody else holds, so an interrupted move leaves a stray record, never a lost file.
bool moveInto(const std::string& trash, const std::string& native, const std::string& recordedPath) {
    std::string files = trash + "/files", info = trash + "/info";
    if (!makeFolders(trash, 0700) || !makeFolder(files, 0700) || !makeFolder(info, 0700))
        return false;
    auto slash = native.find_last_of('/');
    std::string base = slash == std::string::npos ? native : native.substr(slash + 1);
    if (base.empty())
        return false;
    std::string record = "[Trash Info]\nPath=" + percentEncodePath(recordedPath) + "\nDeletionDate=" + localTimeText() + "\n";
    for (int n = 1; n < 10000; ++n) {
        std::string name = n == 1 ? base : base + "." + std::to_string(n);
        std::string infoPath = info + "/" + name + ".trashinfo";
        int fd = ::open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        bool written = ::write(fd, record.data(), record.size()) == ssize_t(record.size());
        written = ::close(fd) == 0 && written;
        std::string target = files + "/" + name;
        struct stat st;
        if (!written || ::lstat(target.c_str(), &st) == 0) {
            ::unlink(infoPath.c_str());
            if (!written)
                return false;
            continue; // a file of that name without a record: keep it, take the next name
        }
        if (::rename(native.c_str(), target.c_str()) == 0)
            return true;
        ::unlink(infoPath.c_str());
        return false; // another file system (EXDEV) or no right: the file stays where it was
    }
    return false;
}

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos)
        return {};
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

// The first word of an Exec value: a quoted word loses its quotes and escapes.
std::string firstWord(const std::string& exec) {
    std::string s = trim(exec), out;
    if (!s.empty() && s[0] == '"') {
        for (size_t i = 1; i < s.size(); ++i) {
            if (s[i] == '\\' && i + 1 < s.size())
                out += s[++i];
            else if (s[i] == '"')
                break;
            else
                out += s[i];
        }
        return out;
    }
    size_t end = s.find_first_of(" \t");
    return s.substr(0, end);
}

bool executableFile(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH));
}

bool programFound(const std::string& program, const EnvironmentLookup& environment) {
    if (program.empty())
        return true; // nothing named: not ours to judge
    if (program.find('/') != std::string::npos)
        return executableFile(program);
    std::optional<std::string> path = environment ? environment("PATH") : std::nullopt;
    std::string dirs = path ? *path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    for (;;) {
        size_t colon = dirs.find(':', start);
        std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (!dir.empty() && executableFile(dir + "/" + program))
            return true;
        if (colon == std::string::npos)
            return false;
        start = colon + 1;
    }
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

UserFolders userFoldersOfProcess(const EnvironmentLookup& environment) {
    UserFolders u;
    u.environment = environment;
    auto env = [&](const char* name) { return environment ? environment(name) : std::nullopt; };
    if (auto h = env("HOME"); h && !h->empty() && (*h)[0] == '/') {
        u.home = withoutTrailingSlash(*h);
    } else if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_dir && pw->pw_dir[0] == '/') {
        u.home = withoutTrailingSlash(pw->pw_dir);
    }
    if (auto d = env("XDG_DATA_HOME"); d && !d->empty() && (*d)[0] == '/')
        u.dataHome = withoutTrailingSlash(*d);
    else if (!u.home.empty())
        u.dataHome = u.home + "/.local/share";
    if (!u.home.empty()) {
        auto c = env("XDG_CONFIG_HOME");
        std::string config = c && !c->empty() && (*c)[0] == '/' ? *c : u.home + "/.config";
        u.desktop = desktopFromUserDirs(config + "/user-dirs.dirs", u.home);
        if (u.desktop.empty())
            u.desktop = u.home + "/Desktop";
        // A desktop that is the home folder itself is no folder of shortcuts to tidy.
        if (u.desktop == u.home)
            u.desktop.clear();
    }
    return u;
}

UserFolders userFoldersOfMachineRoot(const std::string& machineRoot, const EnvironmentLookup& environment) {
    UserFolders u;
    u.environment = environment;
    u.home = withoutTrailingSlash(machineRoot) + "/home";
    u.dataHome = u.home + "/.local/share";
    u.desktop = u.home + "/Desktop";
    return u;
}

namespace trash {

std::vector<std::string> folders(const UserFolders& user, const std::vector<std::string>& tops, uid_t uid) {
    std::vector<std::string> out;
    auto add = [&](const std::string& p) {
        if (!p.empty() && realFolder(p) && std::find(out.begin(), out.end(), p) == out.end())
            out.push_back(p);
    };
    add(homeTrash(user));
    for (const std::string& top : tops) {
        add(sharedTrashOf(top, uid));
        add(ownTrashOf(top, uid));
    }
    return out;
}

bool empty(const std::string& trashFolder) {
    int fd = ::open(trashFolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = true;
    OpenFilesLook look;
    for (const char* part : {"files", "info", "expunged"}) {
        int sub = ::openat(fd, part, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) {
            ok = ok && errno == ENOENT; // a link in its place is left alone
            continue;
        }
        ok = deleteFolderContents(sub) && ok;
        ::close(sub);
    }
    // The cache of folder sizes describes what is gone now.
    if (::unlinkat(fd, "directorysizes", 0) != 0 && errno != ENOENT)
        ok = false;
    ::close(fd);
    return ok;
}

bool moveTo(const std::string& native, const UserFolders& user, const std::vector<std::string>& tops, uid_t uid) {
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0)
        return false;
    std::string ht = homeTrash(user);
    if (!ht.empty() && under(native, user.home)) {
        struct stat home;
        // The home trash takes what lies on the home's own file system.
        if (::stat(user.home.c_str(), &home) == 0 && home.st_dev == st.st_dev)
            return moveInto(ht, native, native);
    }
    // Else the trash at the top of the file system it lies on: the longest top above it.
    std::string top;
    for (const std::string& t : tops)
        if (under(native, t) && t.size() > top.size())
            top = t;
    if (top.empty())
        return false;
    std::string relative = native.substr(top == "/" ? 1 : top.size() + 1);
    std::string shared = sharedTrashOf(top, uid);
    if (!shared.empty() && moveInto(shared, native, relative))
        return true;
    return moveInto(ownTrashOf(top, uid), native, relative);
}

} // namespace trash

bool isBrokenShortcut(const std::string& native, const EnvironmentLookup& environment) {
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0)
        return false;
    if (S_ISLNK(st.st_mode)) {
        struct stat target;
        return ::stat(native.c_str(), &target) != 0 && (errno == ENOENT || errno == ENOTDIR || errno == ELOOP);
    }
    if (!S_ISREG(st.st_mode) || !endsWith(native, ".desktop") || st.st_size > 1 << 20)
        return false;
    std::ifstream in(native);
    std::string line, type, exec, tryExec;
    bool inEntry = false;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        if (key == "Type")
            type = value;
        else if (key == "Exec")
            exec = value;
        else if (key == "TryExec")
            tryExec = value;
    }
    if (type != "Application")
        return false;
    return !programFound(tryExec.empty() ? firstWord(exec) : tryExec, environment);
}

// The shell's operations on the user's desktop and trash.

RecycleBinResult PosixShell::emptyRecycleBins() {
    bool ok = true;
    for (const std::string& t : trash::folders(user_, driveRoots(), ::geteuid()))
        ok = trash::empty(t) && ok;
    return ok ? RecycleBinResult::Emptied : RecycleBinResult::Failed;
}

bool PosixShell::moveToRecycleBin(const std::string& path) {
    std::string p = map_.toNative(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return !p.empty() && p != "/" && trash::moveTo(p, user_, driveRoots(), ::geteuid());
}

std::string PosixShell::desktopFolder() { return user_.desktop.empty() ? std::string() : map_.toDrivePath(user_.desktop); }

bool PosixShell::isBrokenShortcut(const std::string& path) {
    std::string p = map_.toNative(path);
    return !p.empty() && platform::posix::isBrokenShortcut(p, user_.environment);
}

std::vector<std::string> PosixShell::driveRoots() const {
    std::vector<std::string> roots;
    for (const Drive& d : map_.drives())
        roots.push_back(d.nativeRoot);
    return roots;
}

} // namespace platform::posix
