#include "platform/posix/folder_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace platform::posix {

void Descriptor::reset() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

Descriptor openFolder(int dirfd, const char* path, bool followLink) {
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    return Descriptor(::openat(dirfd, path, flags));
}

bool readFolderNames(int dirfd, std::vector<FolderName>& names) {
    if (::lseek(dirfd, 0, SEEK_SET) != 0)
        return false;
    ThreadReader reader;
    if (!reader->read(dirfd))
        return false;
    for (const FolderReader::Name& n : reader->names())
        names.push_back({std::string(reader->text(n)), n.type});
    return true;
}

namespace {

// What getdents64 writes: records of this layout, each `length` bytes long, 8-byte aligned.
struct LinuxDirent {
    std::uint64_t inode;
    std::int64_t offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

constexpr std::size_t kReadPiece = 32768;        // one getdents64 call
constexpr std::size_t kKeptBuffer = 1u << 20;    // a reader keeps no more for the next folder
constexpr std::size_t kKeptReaders = 8;

} // namespace

bool FolderReader::read(int dirfd) {
    names_.clear();
    std::size_t used = 0;
    for (;;) {
        if (capacity_ - used < kReadPiece) {
            std::size_t grown = std::max(capacity_ * 2, used + kReadPiece);
            std::unique_ptr<char[]> bigger(new char[grown]); // aligned for any record
            if (used)
                std::memcpy(bigger.get(), buffer_.get(), used);
            buffer_ = std::move(bigger);
            capacity_ = grown;
        }
        long n = ::syscall(SYS_getdents64, dirfd, buffer_.get() + used, capacity_ - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        for (std::size_t at = used, end = used + std::size_t(n); at < end;) {
            auto* d = reinterpret_cast<const LinuxDirent*>(buffer_.get() + at);
            const char* name = d->name;
            if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))) {
                std::size_t offset = std::size_t(name - buffer_.get());
                names_.push_back({std::uint32_t(offset), std::uint16_t(std::strlen(name)), d->type});
            }
            at += d->length;
        }
        used += std::size_t(n);
    }
}

namespace {

// The readers a thread is not using now, kept for its next listing.
thread_local std::vector<std::unique_ptr<FolderReader>> t_idleReaders;

} // namespace

ThreadReader::ThreadReader() {
    if (t_idleReaders.empty()) {
        reader_ = std::make_unique<FolderReader>();
    } else {
        reader_ = std::move(t_idleReaders.back());
        t_idleReaders.pop_back();
    }
}

ThreadReader::~ThreadReader() {
    // A huge folder's buffer is not kept: the memory of a walk stays flat.
    if (reader_->capacity() <= kKeptBuffer && t_idleReaders.size() < kKeptReaders) {
        try {
            t_idleReaders.push_back(std::move(reader_));
        } catch (...) {
            // Out of memory: the reader just goes.
        }
    }
}

bool isMountRoot(const struct statx& st, dev_t parentDev) {
    if ((st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT))
        return true;
    return makedev(st.stx_dev_major, st.stx_dev_minor) != parentDev;
}

} // namespace platform::posix
