// The replacement program on POSIX. Its steps live in replacer/replacement.cpp; this file
// gives them the system: a running program's file cannot be opened for writing (ETXTBSY),
// which is the wait the steps need.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/detached_process.h"
#include "replacer/replacement.h"

namespace {

class PosixOps : public replacer::Ops {
public:
    char separator() const override { return '/'; }

    bool findFile(const std::string& path, std::string& name) override {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
            return false;
        const auto slash = path.rfind('/');
        name = slash == std::string::npos ? path : path.substr(slash + 1);
        return true;
    }

    bool inUse(const std::string& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd >= 0) {
            ::close(fd);
            return false;
        }
        // Only a running program holds its file this way; a file we may not write, or one
        // that has gone, will not change by waiting.
        return errno == ETXTBSY || errno == EBUSY;
    }

    std::vector<std::string> copiesIn(const std::string& folder) override {
        std::vector<std::string> names;
        const std::string dir = folder.empty() ? "." : folder;
        std::unique_ptr<DIR, int (*)(DIR*)> d(::opendir(dir.c_str()), ::closedir);
        if (!d)
            return names;
        const std::string ending = replacer::kCopyEnding;
        while (const dirent* e = ::readdir(d.get())) {
            const std::string n = e->d_name;
            if (n.size() > ending.size() && n.compare(n.size() - ending.size(), ending.size(), ending) == 0) {
                struct stat st;
                if (::lstat((folder + n).c_str(), &st) == 0 && S_ISREG(st.st_mode))
                    names.push_back(n);
            }
        }
        // A stable order, so the same folder always gives the same result.
        std::sort(names.begin(), names.end());
        return names;
    }

    void moveOver(const std::string& from, const std::string& to, bool runnable, bool /*hidden*/) override {
        struct stat old;
        if (::lstat(to.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
            ::chmod(from.c_str(), old.st_mode & 07777);
        } else if (runnable) {
            struct stat st;
            if (::stat(from.c_str(), &st) == 0)
                ::chmod(from.c_str(), (st.st_mode & 07777) | S_IXUSR | ((st.st_mode & S_IRGRP) ? S_IXGRP : 0) |
                                          ((st.st_mode & S_IROTH) ? S_IXOTH : 0));
        }
        // rename replaces the old file in one step: there is no moment without it.
        ::rename(from.c_str(), to.c_str());
    }

    void removeFile(const std::string& path) override { ::unlink(path.c_str()); }

    void start(const std::string& program, const std::string& argument) override {
        std::vector<std::string> argv{program};
        if (!argument.empty())
            argv.push_back(argument);
        platform::posix::startDetached(argv, false);
    }

    void pause(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

    std::int64_t nowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    void inform(const std::string& caption, const std::string& text) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
};

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    PosixOps ops;
    return replacer::run(args, ops) == replacer::Outcome::GaveUp ? 1 : 0;
}
