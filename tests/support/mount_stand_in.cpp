#include "support/mount_stand_in.h"

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace testsupport {

namespace {

std::string g_failure;

// Once per process: a namespace of our own whose mounts do not propagate back.
bool privateNamespace() {
    static int state = 0; // 0 untried, 1 ok, -1 failed
    if (state == 0) {
        if (::unshare(CLONE_NEWNS) == 0 && ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0) {
            state = 1;
        } else {
            g_failure = std::string("no private mount namespace: ") + std::strerror(errno);
            state = -1;
        }
    }
    return state == 1;
}

} // namespace

std::string MountStandIn::lastFailure() { return g_failure; }

MountStandIn MountStandIn::tmpfs(const std::string& nativeFolder) {
    if (!privateNamespace())
        return MountStandIn("");
    if (::mount("quor-test", nativeFolder.c_str(), "tmpfs", 0, "size=4m") != 0) {
        g_failure = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
        return MountStandIn("");
    }
    return MountStandIn(nativeFolder);
}

MountStandIn MountStandIn::bind(const std::string& source, const std::string& nativeFolder) {
    if (!privateNamespace())
        return MountStandIn("");
    if (::mount(source.c_str(), nativeFolder.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        g_failure = std::string("cannot bind-mount: ") + std::strerror(errno);
        return MountStandIn("");
    }
    return MountStandIn(nativeFolder);
}

MountStandIn::~MountStandIn() {
    if (!target_.empty())
        ::umount2(target_.c_str(), MNT_DETACH);
}

} // namespace testsupport
