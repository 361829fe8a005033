#include "platform/posix/posix_shell.h"

#include <dirent.h> // DT_* entry types
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/detached_process.h"
#include "platform/posix/folder_handle.h"
#include "platform/posix/percent_encoding.h"
#include "platform/posix/posix_deletion_rules.h"

namespace platform::posix {

namespace {

bool statEntry(int dirfd, const char* name, struct statx& st) {
    return ::statx(dirfd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO, &st) == 0;
}

// Removes everything inside the open folder `dirfd` (on device `dev`). Every step works
// relative to an open descriptor, so a folder swapped for a link while we work is never
// followed. Returns false when anything stayed.
bool deleteContents(int dirfd, dev_t dev) {
    std::vector<FolderName> names;
    if (!readFolderNames(dirfd, names))
        return false;

    bool ok = true;
    for (const FolderName& n : names) {
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
        Descriptor sub = openFolder(dirfd, name, false);
        if (!sub) {
            ok = false;
            continue;
        }
        struct stat opened;
        if (::fstat(sub.get(), &opened) != 0 || opened.st_ino != st.stx_ino ||
            opened.st_dev != makedev(st.stx_dev_major, st.stx_dev_minor)) {
            ok = false; // replaced between the look and the open
            continue;
        }
        bool inner = deleteContents(sub.get(), dev);
        sub.reset();
        if (!inner || ::unlinkat(dirfd, name, AT_REMOVEDIR) != 0)
            ok = false;
    }
    return ok;
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
    Descriptor fd = openFolder(AT_FDCWD, p.c_str(), false);
    if (!fd)
        return false;
    dev_t dev = makedev(st.stx_dev_major, st.stx_dev_minor);
    OpenFilesLook look; // one look at the open files serves the whole tree
    bool ok = deleteContents(fd.get(), dev);
    fd.reset();
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
    // An address ("http://...", "mailto:...") goes to the desktop's opener as written, with
    // what a URI cannot carry encoded (the mail requests hold blanks and line ends).
    bool address = !DriveMap::isDrivePath(file) && file.find(':') != std::string::npos && file[0] != '/';
    std::string target = address ? percentEncodeAddress(file) : map_.toNative(file);
    if (target.empty())
        return false;
    struct stat st;
    if (!address && ::lstat(target.c_str(), &st) != 0)
        return false;
    if (request.verb == "open") {
        // Whatever its mode bits: on FAT and NTFS drives every file has the execute bit.
        return startDetached({"xdg-open", target}, true) == 0;
    }
    if (request.verb == "properties" && !address) {
        // The file manager's properties dialog, through its desktop-wide interface.
        return startDetached({"dbus-send", "--session", "--type=method_call", "--dest=org.freedesktop.FileManager1",
                              "/org/freedesktop/FileManager1", "org.freedesktop.FileManager1.ShowItemProperties",
                              "array:string:file://" + percentEncodePath(target), "string:"},
                             true) == 0;
    }
    return false;
}

namespace {

// An executable image ("\x7fELF") or a script with its interpreter line ("#!"): the two
// formats a program of this system is. What the kernel would hand elsewhere (a text file
// to the shell's fallback, a foreign image to a registered emulator) is no program here.
bool isProgramImage(int fd) {
    char head[4] = {};
    ssize_t n;
    do
        n = ::pread(fd, head, sizeof head, 0);
    while (n < 0 && errno == EINTR);
    if (n >= 4 && std::memcmp(head, "\x7f" "ELF", 4) == 0)
        return true;
    return n >= 2 && head[0] == '#' && head[1] == '!';
}

} // namespace

ProgramStart PosixShell::runProgram(const ProgramRun& run) {
    auto refused = [&](const std::string& why) {
        return ProgramStart{false, "Cannot run \"" + run.program + "\". " + why};
    };
    std::string native = map_.toNative(run.program);
    if (native.empty())
        return refused(std::strerror(ENOENT));
    bool regular, image;
    {
        Descriptor fd(::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (!fd)
            return refused(std::strerror(errno));
        struct stat st;
        regular = ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
        image = regular && isProgramImage(fd.get());
    }
    if (!regular)
        return refused("It is not a file.");
    if (!image)
        return refused("It is not a program: neither an executable image nor a script whose first line begins "
                       "with \"#!\".");
    std::vector<std::string> argv{native};
    argv.insert(argv.end(), run.arguments.begin(), run.arguments.end());
    if (int err = startDetached(argv, false))
        return refused(std::strerror(err));
    return {true, {}};
}

} // namespace platform::posix
