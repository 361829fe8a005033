#pragma once
// Open folders and descriptors held by owning types, so that a callback that throws while
// one is open never leaks it; the folder reading and the mount test the listing and the
// deletion share.
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace platform::posix {

// An open descriptor, closed when its owner goes.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& o) noexcept : fd_(o.fd_) { o.fd_ = -1; }
    Descriptor& operator=(Descriptor&& o) noexcept {
        if (this != &o) {
            reset();
            fd_ = o.fd_;
            o.fd_ = -1;
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    void reset();

private:
    int fd_ = -1;
};

// Opens the folder `path` (relative to the open folder `dirfd`, or AT_FDCWD) for reading.
// With `followLink` false a final link is not followed and fails instead.
Descriptor openFolder(int dirfd, const char* path, bool followLink);

// A name of a folder listing with the entry type the listing gives (DT_DIR, DT_UNKNOWN...).
struct FolderName {
    std::string name;
    unsigned char type;
};

// Every name of the open folder but "." and "..", in the order the system lists them.
// The folder stays open and is read from its start. False when it cannot be read.
bool readFolderNames(int dirfd, std::vector<FolderName>& names);

// True when a folder (its statx, links not followed) is the root of another mount: another
// file system, or a bind mount of the same one, which its device alone cannot tell.
bool isMountRoot(const struct statx& st, dev_t parentDev);

} // namespace platform::posix
