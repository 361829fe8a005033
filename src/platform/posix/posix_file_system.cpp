#include "platform/posix/posix_file_system.h"

#include <dirent.h> // DT_* entry types
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "common/ascii_text.h"
#include "platform/errors.h"
#include "platform/posix/folder_handle.h"
#include "platform/posix/posix_deletion_rules.h"

namespace platform::posix {

namespace {

thread_local int t_lastError = 0;

bool fail() {
    t_lastError = errno;
    return false;
}

FileTime toFileTime(std::int64_t sec, std::int64_t nsec) {
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr std::int64_t epochDelta = 11644473600LL;
    return (sec + epochDelta) * 10000000LL + nsec / 100;
}

bool lessFolded(const std::string& a, const std::string& b) {
    int folded = CompareText(a, b);
    return folded != 0 ? folded < 0 : a < b; // names equal when folded: keep a stable order
}

// The directory and reparse-point bits of an entry whose statx we have (not followed).
std::uint32_t typeBits(const struct statx& st, int dirfd, const char* rel, dev_t parentDev, bool isDots) {
    mode_t mode = st.stx_mode;
    if (S_ISLNK(mode)) {
        // A link says whether it points at a folder, as a junction or a directory link does.
        struct stat target;
        if (::fstatat(dirfd, rel, &target, 0) == 0 && S_ISDIR(target.st_mode))
            return FA_REPARSE_POINT | FA_DIRECTORY;
        return FA_REPARSE_POINT;
    }
    // A mounted folder is reported as a reparse point, as the system reports a mounted volume.
    if (S_ISDIR(mode))
        return (!isDots && isMountRoot(st, parentDev)) ? FA_DIRECTORY | FA_REPARSE_POINT : FA_DIRECTORY;
    return 0;
}

// Fills everything but the name from a statx result of the entry itself (not followed).
void fill(DirEntry& e, const struct statx& st, int dirfd, const char* rel, dev_t parentDev, bool isDots) {
    e.size = 0;
    mode_t mode = st.stx_mode;
    FileTime write = toFileTime(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
    e.lastWriteTime = write;
    e.lastAccessTime = toFileTime(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
    e.creationTime = (st.stx_mask & STATX_BTIME) ? toFileTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : write;
    e.attributes = typeBits(st, dirfd, rel, parentDev, isDots);
    if (!(mode & S_IWUSR))
        e.attributes |= FA_READONLY;
    if (!isDots && !e.name.empty() && e.name[0] == '.')
        e.attributes |= FA_HIDDEN;
    if (S_ISREG(mode)) {
        e.attributes |= FA_ARCHIVE;
        e.size = st.stx_size;
    } else if (!S_ISDIR(mode) && !S_ISLNK(mode)) {
        // Pipes, sockets and devices are no user files: marked as the system's own.
        e.attributes |= FA_SYSTEM;
    }
}

} // namespace

bool PosixFileSystem::listFolder(const std::string& folder, ListDetail detail,
                                 const std::function<bool(const DirEntry&)>& onEntry) {
    std::string path = native(folder);
    if (path.empty()) {
        errno = ENOENT;
        return fail();
    }
    // Only the descriptor stays open while the caller's callback runs; it closes also
    // when the callback throws.
    Descriptor folderFd = openFolder(AT_FDCWD, path.c_str(), true);
    if (!folderFd)
        return fail();
    const int fd = folderFd.get();
    struct stat self;
    dev_t folderDev = (::fstat(fd, &self) == 0) ? self.st_dev : 0;

    std::vector<FolderName> raw;
    if (!readFolderNames(fd, raw))
        return fail();
    std::sort(raw.begin(), raw.end(),
              [](const FolderName& a, const FolderName& b) { return lessFolded(a.name, b.name); });

    DirEntry e;
    auto emit = [&](const std::string& name, unsigned char type, bool dots) -> bool {
        e.name = name;
        const bool sizes = detail == ListDetail::Sizes;
        if (detail == ListDetail::Full || type == DT_UNKNOWN || (type == DT_DIR && !dots) || (sizes && type == DT_REG)) {
            struct statx st;
            unsigned mask = detail == ListDetail::Full ? (STATX_BASIC_STATS | STATX_BTIME)
                            : sizes                    ? unsigned(STATX_TYPE | STATX_SIZE)
                                                       : unsigned(STATX_TYPE);
            if (::statx(fd, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, mask, &st) != 0) {
                // Vanished between readdir and stat: skip it.
                return true;
            }
            if (detail == ListDetail::Full) {
                fill(e, st, fd, name.c_str(), folderDev, dots);
            } else {
                e.size = (sizes && S_ISREG(st.stx_mode)) ? st.stx_size : 0;
                e.attributes = typeBits(st, fd, name.c_str(), folderDev, dots);
            }
        } else {
            // Names (and sizes of files, above): the entry type comes with the name; only
            // links need a look at their target, and folders one statx each to see
            // whether they are mounts.
            e.size = 0;
            e.creationTime = e.lastAccessTime = e.lastWriteTime = 0;
            e.attributes = type == DT_DIR ? std::uint32_t(FA_DIRECTORY) : 0u;
            if (type == DT_LNK) {
                struct stat target;
                e.attributes = (::fstatat(fd, name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode))
                                   ? FA_REPARSE_POINT | FA_DIRECTORY
                                   : FA_REPARSE_POINT;
            }
        }
        return onEntry(e);
    };
    if (emit(".", DT_DIR, true) && emit("..", DT_DIR, true)) {
        for (const FolderName& r : raw)
            if (!emit(r.name, r.type, false))
                break;
    }
    return true;
}

bool PosixFileSystem::findEntry(const std::string& path, DirEntry& entry) {
    std::string p = native(path);
    if (p.empty())
        return false;
    std::string parent = "/", name = p;
    auto slash = p.find_last_of('/');
    if (slash != std::string::npos) {
        parent = slash == 0 ? "/" : p.substr(0, slash);
        name = p.substr(slash + 1);
    }
    if (name.empty())
        return false;
    // One call for a file; a folder also needs its parent's device to tell a mount.
    struct statx st;
    if (::statx(AT_FDCWD, p.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
        return fail();
    dev_t parentDev = 0;
    if (S_ISDIR(st.stx_mode)) {
        struct stat pst;
        if (::stat(parent.c_str(), &pst) != 0)
            return fail();
        parentDev = pst.st_dev;
    }
    entry.name = name;
    fill(entry, st, AT_FDCWD, p.c_str(), parentDev, false);
    return true;
}

bool PosixFileSystem::exists(const std::string& path) {
    struct stat st;
    std::string p = native(path);
    return !p.empty() && ::lstat(p.c_str(), &st) == 0;
}

bool PosixFileSystem::isDirectory(const std::string& path) {
    struct stat st;
    std::string p = native(path);
    return !p.empty() && ::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string PosixFileSystem::readFile(const std::string& path) {
    std::string p = native(path);
    int fd = p.empty() ? (errno = ENOENT, -1) : ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileOpenError(path, std::strerror(errno));
    std::string data;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            ::close(fd);
            if (err == EISDIR)
                throw FileOpenError(path, std::strerror(err));
            throw InOutError(std::strerror(err));
        }
        if (n == 0)
            break;
        data.append(buf, size_t(n));
    }
    ::close(fd);
    return data;
}

namespace {

void writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw InOutError(std::strerror(errno));
        }
        done += size_t(n);
    }
}

} // namespace

void PosixFileSystem::writeFile(const std::string& path, const std::string& data) {
    std::string p = native(path);
    int fd = p.empty() ? (errno = ENOENT, -1) : ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw FileCreateError(path, std::strerror(errno));
    try {
        writeAll(fd, data);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw InOutError(std::strerror(errno));
}

namespace {

// The temporary copies that writeFileAtomic makes of `name`: the name, ".tmp" and up to
// six digits.
bool isTemporaryCopy(const std::string& entry, const std::string& name) {
    const std::string stem = name + ".tmp";
    if (entry.size() <= stem.size() || entry.size() > stem.size() + 6 || entry.compare(0, stem.size(), stem) != 0)
        return false;
    return entry.find_first_not_of("0123456789", stem.size()) == std::string::npos;
}

// Removes the temporary copies of the file `p` that saves cut short (the program killed
// while it wrote) left beside it, so that they never pile up. Files only; links and
// folders of such names are not ours.
void removeStaleCopies(const std::string& p) {
    auto slash = p.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    Descriptor folder = openFolder(AT_FDCWD, dir.c_str(), true);
    std::vector<FolderName> names;
    if (!folder || !readFolderNames(folder.get(), names))
        return;
    for (const FolderName& n : names) {
        struct stat st;
        if (isTemporaryCopy(n.name, name) && ::fstatat(folder.get(), n.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            ::unlinkat(folder.get(), n.name.c_str(), 0);
    }
}

} // namespace

void PosixFileSystem::writeFileAtomic(const std::string& path, const std::string& data) {
    std::string p = native(path);
    if (p.empty())
        throw FileCreateError(path, std::strerror(ENOENT));
    // First, so that the space they hold is free for this copy.
    removeStaleCopies(p);
    // Creating the target name first gives the same error text as a plain write would
    // for a folder that is missing or read-only.
    std::string tmp = p + ".tmp";
    {
        static thread_local std::mt19937 rng{std::random_device{}()};
        tmp += std::to_string(rng() % 1000000);
    }
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        throw FileCreateError(path, std::strerror(errno));
    // Keep the mode of the file we replace.
    struct stat old;
    if (::stat(p.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    try {
        writeAll(fd, data);
        if (::fsync(fd) != 0)
            throw InOutError(std::strerror(errno));
    } catch (...) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw;
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw InOutError(std::strerror(err));
    }
    if (::rename(tmp.c_str(), p.c_str()) != 0) {
        int err = errno;
        ::unlink(tmp.c_str());
        throw FileCreateError(path, std::strerror(err));
    }
}

bool PosixFileSystem::deleteFile(const std::string& path) {
    std::string p = native(path);
    struct stat st;
    if (p.empty() || ::lstat(p.c_str(), &st) != 0)
        return fail();
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return fail();
    }
    if (refusesDeletion(AT_FDCWD, p.c_str()))
        return fail();
    return ::unlink(p.c_str()) == 0 || fail();
}

bool PosixFileSystem::removeDirectory(const std::string& path) {
    std::string p = native(path);
    return (!p.empty() && ::rmdir(p.c_str()) == 0) || fail();
}

bool PosixFileSystem::renameFile(const std::string& from, const std::string& to) {
    std::string a = native(from), b = native(to);
    return (!a.empty() && !b.empty() && ::rename(a.c_str(), b.c_str()) == 0) || fail();
}

bool PosixFileSystem::createDirectory(const std::string& path) {
    std::string p = native(path);
    return (!p.empty() && ::mkdir(p.c_str(), 0755) == 0) || fail();
}

std::uint8_t PosixFileSystem::driveType(const std::string& root) {
    if (!DriveMap::isDrivePath(root))
        return DRIVE_NO_ROOT_DIR;
    const Drive* d = map_.find(root[0]);
    return d ? d->type : std::uint8_t(DRIVE_NO_ROOT_DIR);
}

bool PosixFileSystem::diskFreeSpace(const std::string& root, std::int64_t& total, std::int64_t& freeBytes) {
    std::string p = native(root);
    struct statvfs st;
    if (p.empty() || ::statvfs(p.c_str(), &st) != 0)
        return fail();
    total = std::int64_t(st.f_blocks) * std::int64_t(st.f_frsize);
    freeBytes = std::int64_t(st.f_bavail) * std::int64_t(st.f_frsize);
    return true;
}

namespace {

class PosixOpenFile : public OpenFile {
public:
    explicit PosixOpenFile(Descriptor fd) : fd_(std::move(fd)) {}

    std::int64_t read(void* into, std::size_t n) override {
        for (;;) {
            ssize_t r = ::read(fd_.get(), into, n);
            if (r >= 0)
                return r;
            if (errno != EINTR)
                return fail(), -1;
        }
    }
    bool write(const void* bytes, std::size_t n) override {
        const char* p = static_cast<const char*>(bytes);
        while (n > 0) {
            ssize_t w = ::write(fd_.get(), p, n);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return fail();
            }
            p += w;
            n -= static_cast<std::size_t>(w);
        }
        return true;
    }
    bool seek(std::int64_t position) override { return ::lseek(fd_.get(), position, SEEK_SET) >= 0 || fail(); }
    std::int64_t size() override {
        struct stat st;
        return ::fstat(fd_.get(), &st) == 0 ? st.st_size : (fail(), -1);
    }

private:
    Descriptor fd_;
};

} // namespace

std::unique_ptr<OpenFile> PosixFileSystem::openFile(const std::string& path) {
    std::string p = native(path);
    Descriptor fd(p.empty() ? (errno = ENOENT, -1) : ::open(p.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd)
        return fail(), nullptr;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return fail(), nullptr;
    if (S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return fail(), nullptr;
    }
    return std::make_unique<PosixOpenFile>(std::move(fd));
}

std::unique_ptr<OpenFile> PosixFileSystem::createFile(const std::string& path, std::uint32_t attributes) {
    std::string p = native(path);
    // Never through a link planted under the name: the name must be free.
    mode_t mode = (attributes & FA_READONLY) ? 0444 : 0644;
    Descriptor fd(p.empty() ? (errno = ENOENT, -1) : ::open(p.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!fd)
        return fail(), nullptr;
    return std::make_unique<PosixOpenFile>(std::move(fd));
}

bool PosixFileSystem::setRunnable(const std::string& path) {
    std::string p = native(path);
    struct stat st;
    // Only a regular file of our own, never through a link.
    if (p.empty() || ::lstat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return fail(), false;
    return ::chmod(p.c_str(), (st.st_mode & 07777) | S_IXUSR) == 0 || (fail(), false);
}

bool PosixFileSystem::setFileTimes(const std::string& path, FileTime /*creation*/, FileTime lastWrite) {
    // No file system here lets a program set the creation time; the last-write time it does.
    std::string p = native(path);
    if (p.empty())
        return fail(), false;
    // 100-ns intervals since 1601 to seconds and nanoseconds since 1970.
    const std::int64_t since1970 = lastWrite - 116444736000000000LL;
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[0].tv_sec = 0;
    times[1].tv_sec = static_cast<time_t>(since1970 / 10000000);
    times[1].tv_nsec = static_cast<long>((since1970 % 10000000) * 100);
    if (times[1].tv_nsec < 0) {
        times[1].tv_nsec += 1000000000;
        times[1].tv_sec -= 1;
    }
    return ::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 || (fail(), false);
}

std::string PosixFileSystem::lastErrorText() { return std::strerror(t_lastError); }

} // namespace platform::posix
