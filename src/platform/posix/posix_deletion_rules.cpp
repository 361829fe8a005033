#include "platform/posix/posix_deletion_rules.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "platform/posix/posix_file_system.h"

namespace platform::posix {

namespace {

using FileId = std::pair<dev_t, ino_t>;

// The regular files that the processes of the machine hold open, from /proc/<pid>/fd.
std::set<FileId> openFiles() {
    std::set<FileId> out;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return out;
    while (dirent* p = ::readdir(proc)) {
        if (p->d_name[0] < '0' || p->d_name[0] > '9')
            continue;
        std::string fdDir = std::string("/proc/") + p->d_name + "/fd";
        int dfd = ::open(fdDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dfd < 0)
            continue; // gone, or not ours to read
        DIR* fds = ::fdopendir(dfd);
        if (!fds) {
            ::close(dfd);
            continue;
        }
        while (dirent* f = ::readdir(fds)) {
            if (f->d_name[0] == '.')
                continue;
            struct stat st;
            // Following the descriptor's link reaches the open file itself, even a deleted one.
            if (::fstatat(dfd, f->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
                out.insert({st.st_dev, st.st_ino});
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return out;
}

// A look at /proc costs milliseconds: within one operation it serves the next moments.
constexpr auto kFresh = std::chrono::milliseconds(250);

thread_local OpenFilesLook* t_look = nullptr;

} // namespace

struct OpenFilesLook::State {
    std::set<FileId> files;
    std::chrono::steady_clock::time_point taken;
    bool have = false;
};

OpenFilesLook::OpenFilesLook() : state_(std::make_unique<State>()), outer_(t_look) { t_look = this; }

OpenFilesLook::~OpenFilesLook() { t_look = outer_; }

bool heldOpen(dev_t dev, ino_t ino) {
    OpenFilesLook* look = t_look;
    if (!look)
        return openFiles().count({dev, ino}) != 0;
    // The outermost look of this thread holds the answer for the whole operation.
    while (look->outer_)
        look = look->outer_;
    OpenFilesLook::State& s = *look->state_;
    if (!s.have || std::chrono::steady_clock::now() - s.taken > kFresh) {
        s.files = openFiles();
        s.taken = std::chrono::steady_clock::now();
        s.have = true;
    }
    return s.files.count({dev, ino}) != 0;
}

bool refusesDeletion(int dirfd, const char* name) {
    struct stat st;
    if (::fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false; // the deletion itself reports what is wrong
    bool refused = S_ISSOCK(st.st_mode) || S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ||
                   (S_ISREG(st.st_mode) && heldOpen(st.st_dev, st.st_ino));
    if (refused)
        errno = EBUSY;
    return refused;
}

bool PosixFileSystem::ownedByUser(const std::string& path) {
    std::string p = native(path);
    struct stat st;
    return !p.empty() && ::lstat(p.c_str(), &st) == 0 && st.st_uid == ::geteuid();
}

std::unique_ptr<DeletionBatch> PosixFileSystem::beginDeletions() {
    struct Batch : DeletionBatch {
        OpenFilesLook look;
    };
    return std::make_unique<Batch>();
}

} // namespace platform::posix
