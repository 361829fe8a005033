#pragma once
// Open folders and descriptors held by owning types, so that a callback that throws while
// one is open never leaks it; the folder reading and the mount test the listing and the
// deletion share.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

// The names of an open folder as the system hands them over, kept in the reader's one
// buffer: a listing allocates nothing per name, and a reader used again for the next
// folder allocates nothing at all.
class FolderReader {
public:
    struct Name {
        std::uint32_t at;     // where its text (ended by a NUL) begins in the buffer
        std::uint16_t length; // without the NUL
        unsigned char type;   // DT_DIR, DT_REG, DT_LNK, DT_UNKNOWN...
    };

    // Every name of the open folder but "." and "..", read from the descriptor's position
    // (the start for a folder just opened). False when it cannot be read.
    bool read(int dirfd);
    std::vector<Name>& names() { return names_; }
    std::string_view text(const Name& n) const { return {buffer_.get() + n.at, n.length}; }
    const char* cText(const Name& n) const { return buffer_.get() + n.at; }
    // The buffer it keeps for the next folder.
    std::size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::vector<Name> names_;
};

// A reader of this thread's own while it lives: listings nested inside the callback of
// another (a walk that goes deeper from there) each get their own.
class ThreadReader {
public:
    ThreadReader();
    ~ThreadReader();
    ThreadReader(const ThreadReader&) = delete;
    ThreadReader& operator=(const ThreadReader&) = delete;
    FolderReader& operator*() { return *reader_; }
    FolderReader* operator->() { return reader_.get(); }

private:
    std::unique_ptr<FolderReader> reader_;
};

// True when a folder (its statx, links not followed) is the root of another mount: another
// file system, or a bind mount of the same one, which its device alone cannot tell.
bool isMountRoot(const struct statx& st, dev_t parentDev);

} // namespace platform::posix
