#pragma once
// What the system refuses to delete. A file that a running program holds open cannot be
// deleted there, and callers (emptying a temporary folder) rely on that; here nothing
// stops an unlink, so the rule is kept by us: no file held open by a process, and no
// socket, named pipe or device file (the plumbing of running programs).
#include <sys/types.h>

#include <memory>

namespace platform::posix {

// True, with errno set to EBUSY, when the entry `name` of the open folder `dirfd` (or a
// path with AT_FDCWD) must stay. A link is looked at itself, never its target.
bool refusesDeletion(int dirfd, const char* name);

// True when some process of this machine has the file (device, inode) open. Processes
// whose descriptors we may not read (another user's, unless we are root) are not seen.
// The answer comes from a look at every process: a fresh one each time, except inside an
// OpenFilesLook, whose look serves every file of one operation (a tree) for a fraction of
// a second, so a folder of many files costs a few looks, not one per file.
bool heldOpen(dev_t dev, ino_t ino);

// While one lives on this thread, heldOpen() reuses its look at the processes.
class OpenFilesLook {
public:
    OpenFilesLook();
    ~OpenFilesLook();
    OpenFilesLook(const OpenFilesLook&) = delete;
    OpenFilesLook& operator=(const OpenFilesLook&) = delete;
    struct State;

private:
    friend bool heldOpen(dev_t dev, ino_t ino);
    std::unique_ptr<State> state_;
    OpenFilesLook* outer_;
};

} // namespace platform::posix
