#include "platform/posix/folder_handle.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

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
    // The listing reads through a copy of the descriptor, which the DIR owns and closes.
    int copy = ::dup(dirfd);
    if (copy < 0)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(copy), ::closedir);
    if (!dir) {
        ::close(copy);
        return false;
    }
    ::rewinddir(dir.get()); // the copy shares its position with `dirfd`
    while (dirent* d = ::readdir(dir.get())) {
        if (std::strcmp(d->d_name, ".") != 0 && std::strcmp(d->d_name, "..") != 0)
            names.push_back({d->d_name, d->d_type});
    }
    return true;
}

bool isMountRoot(const struct statx& st, dev_t parentDev) {
    if ((st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) && (st.stx_attributes & STATX_ATTR_MOUNT_ROOT))
        return true;
    return makedev(st.stx_dev_major, st.stx_dev_minor) != parentDev;
}

} // namespace platform::posix
