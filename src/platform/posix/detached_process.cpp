#include "platform/posix/detached_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace platform::posix {

namespace {

// posix_spawn's attributes and file actions, released whatever happens.
struct SpawnSetup {
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    SpawnSetup() {
        ::posix_spawnattr_init(&attr);
        ::posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions);
        ::posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

} // namespace

int startDetached(const std::vector<std::string>& argv, bool searchPath) {
    if (argv.empty() || argv[0].empty())
        return ENOENT;
    std::vector<std::string> args = argv;
    std::vector<char*> raw;
    for (auto& a : args)
        raw.push_back(a.data());
    raw.push_back(nullptr);

    SpawnSetup s;
    for (int fd : {0, 1, 2})
        ::posix_spawn_file_actions_addopen(&s.actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
    // The calling thread may block signals (a toolkit's threads do); the program starts
    // with none blocked and none ignored, in a session of its own.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&s.attr, &none);
    ::posix_spawnattr_setsigdefault(&s.attr, &all);
    ::posix_spawnattr_setflags(&s.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSID);

    pid_t pid;
    int rc = searchPath ? ::posix_spawnp(&pid, raw[0], &s.actions, &s.attr, raw.data(), environ)
                        : ::posix_spawn(&pid, raw[0], &s.actions, &s.attr, raw.data(), environ);
    if (rc != 0)
        return rc;
    // Nobody waits for the program, so a thread of ours collects its exit status when it
    // ends: it never lingers as a zombie.
    try {
        std::thread([pid] {
            int status;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the program runs all the same and is collected at our exit.
    }
    return 0;
}

} // namespace platform::posix
