#include "platform/posix/posix_shell.h"

#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/posix_deletion_rules.h"

extern char** environ;

namespace platform::posix {

namespace {

bool statEntry(int dirfd, const char* name, struct statx& st) {
    return ::statx(dirfd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO, &st) == 0;
}

bool isMountRoot(const struct statx& st, dev_t dev) {
    if ((st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT))
        return true;
    return makedev(st.stx_dev_major, st.stx_dev_minor) != dev;
}

// Removes everything inside the open folder `dirfd` (on device `dev`). Every step works
// relative to an open descriptor, so a folder swapped for a link while we work is never
// followed. Returns false when anything stayed.
bool deleteContents(int dirfd, dev_t dev) {
    int listFd = ::dup(dirfd);
    if (listFd < 0)
        return false;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return false;
    }
    struct Name {
        std::string name;
        unsigned char type;
    };
    std::vector<Name> names;
    while (dirent* d = ::readdir(dir)) {
        if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0)
            names.push_back({d->d_name, d->d_type});
    }
    ::closedir(dir);

    bool ok = true;
    for (const Name& n : names) {
        const char* name = n.name.c_str();
        if (n.type != DT_DIR && n.type != DT_LNK && refusesDeletion(dirfd, name)) {
            ok = false; // held open, or a socket, pipe or device: it stays, the walk goes on
            continue;
        }
        // Files (once past the look above) and links go with one call; only folders (or
        // unknown types) need a look.
        if (n.type != DT_DIR && n.type != DT_UNKNOWN) {
            if (::unlinkat(dirfd, name, 0) == 0 || errno == ENOENT)
                continue;
            if (errno != EISDIR && errno != EPERM) {
                ok = false;
                continue;
            }
        }
        struct statx st;
        if (!statEntry(dirfd, name, st)) {
            ok = ok && errno == ENOENT; // gone already
            continue;
        }
        if (!S_ISDIR(st.stx_mode)) {
            if (::unlinkat(dirfd, name, 0) != 0 && errno != ENOENT)
                ok = false;
            continue;
        }
        if (isMountRoot(st, dev)) {
            ok = false; // another file system: neither entered nor removed
            continue;
        }
        int sub = ::openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (sub < 0) {
            ok = false;
            continue;
        }
        struct stat opened;
        if (::fstat(sub, &opened) != 0 || opened.st_ino != st.stx_ino ||
            opened.st_dev != makedev(st.stx_dev_major, st.stx_dev_minor)) {
            ::close(sub); // replaced between the look and the open
            ok = false;
            continue;
        }
        bool inner = deleteContents(sub, dev);
        ::close(sub);
        if (!inner || ::unlinkat(dirfd, name, AT_REMOVEDIR) != 0)
            ok = false;
    }
    return ok;
}

// Starts `argv` in the background and returns without waiting for it: a shell puts it
// behind "&" and ends at once, so the program is nobody's child and leaves no zombie.
bool startDetached(const std::vector<std::string>& argv) {
    std::vector<std::string> args{"/bin/sh", "-c", "\"$@\" </dev/null >/dev/null 2>&1 &", "sh"};
    args.insert(args.end(), argv.begin(), argv.end());
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);
    pid_t pid;
    if (::posix_spawn(&pid, "/bin/sh", nullptr, nullptr, raw.data(), environ) != 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// "file://" and the path with every byte outside the unreserved set escaped.
std::string fileUri(const std::string& native) {
    static const char* hex = "0123456789ABCDEF";
    std::string out = "file://";
    for (unsigned char c : native) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
            c == '_' || c == '.' || c == '~')
            out += char(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string parentOf(const std::string& p) {
    auto slash = p.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : p.substr(0, slash);
}

} // namespace

bool deleteFolderContents(int dirfd) {
    struct stat st;
    return ::fstat(dirfd, &st) == 0 && S_ISDIR(st.st_mode) && deleteContents(dirfd, st.st_dev);
}

bool PosixShell::deleteTree(const std::string& path) {
    std::string p = map_.toNative(path);
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    if (p.empty() || p == "/")
        return false;
    for (const Drive& d : map_.drives())
        if (d.nativeRoot == p)
            return false; // a drive root is never deleted

    struct statx st;
    if (!statEntry(AT_FDCWD, p.c_str(), st))
        return false;
    if (!S_ISDIR(st.stx_mode)) // a file or a link: itself only
        return !refusesDeletion(AT_FDCWD, p.c_str()) && ::unlink(p.c_str()) == 0;

    struct stat parent;
    if (::stat(parentOf(p).c_str(), &parent) != 0 || isMountRoot(st, parent.st_dev))
        return false; // a mount point is not entered
    int fd = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    dev_t dev = makedev(st.stx_dev_major, st.stx_dev_minor);
    OpenFilesLook look; // one look at the open files serves the whole tree
    bool ok = deleteContents(fd, dev);
    ::close(fd);
    return ::rmdir(p.c_str()) == 0 && ok;
}

std::optional<std::string> PosixShell::displayName(const std::string& path) {
    std::string p = map_.toNative(path);
    struct stat st;
    if (p.empty() || ::lstat(p.c_str(), &st) != 0)
        return std::nullopt;
    if (DriveMap::isDrivePath(path)) {
        std::string rest = path.substr(2);
        if (rest.empty() || rest == "\\" || rest == "/") {
            const Drive* d = map_.find(path[0]);
            return driveDisplayName(d->letter, d->type);
        }
    }
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    auto slash = p.find_last_of('/');
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    if (name.empty())
        return p;
    return name;
}

bool PosixShell::execute(const ShellRequest& request) {
    const std::string& file = request.file;
    // An address ("http://...", "mailto:...") goes to the desktop's opener as it is.
    bool address = !DriveMap::isDrivePath(file) && file.find(':') != std::string::npos && file[0] != '/';
    std::string target = address ? file : map_.toNative(file);
    if (target.empty())
        return false;
    struct stat st;
    if (!address && ::lstat(target.c_str(), &st) != 0)
        return false;
    if (request.verb == "open") {
        if (!address && S_ISREG(st.st_mode) && (st.st_mode & S_IXUSR)) {
            // A program: run it with its parameters, split at blanks.
            std::vector<std::string> argv{target};
            std::string word;
            for (char c : request.parameters + " ") {
                if (c == ' ') {
                    if (!word.empty())
                        argv.push_back(word);
                    word.clear();
                } else {
                    word += c;
                }
            }
            return startDetached(argv);
        }
        return startDetached({"xdg-open", target});
    }
    if (request.verb == "properties" && !address) {
        // The file manager's properties dialog, through its desktop-wide interface.
        return startDetached({"dbus-send", "--session", "--type=method_call", "--dest=org.freedesktop.FileManager1",
                              "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItemProperties",
                              "array:string:" + fileUri(target), "string:"});
    }
    return false;
}

} // namespace platform::posix
