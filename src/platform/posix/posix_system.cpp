#include "platform/posix/posix_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace platform::posix {

namespace {

class FlockMutex : public NamedMutex {
public:
    explicit FlockMutex(int fd) : fd_(fd) {}
    ~FlockMutex() override { ::close(fd_); } // closing releases the lock
private:
    int fd_;
};

std::string nativeCwd() {
    std::error_code ec;
    auto p = std::filesystem::current_path(ec);
    return ec ? std::string("/") : p.string();
}

} // namespace

std::string PosixSystem::programFolder() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? nativeCwd() : exe.parent_path().string();
    return map_.toDrivePath(dir);
}

std::string PosixSystem::executablePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : map_.toDrivePath(exe.string());
}

std::string PosixSystem::currentFolder() { return map_.toDrivePath(nativeCwd()); }

std::string PosixSystem::mutexPath(const std::string& name) const {
    // One lock per machine root, so test machines never meet the user's own copy.
    if (machineRoot_)
        return *machineRoot_ + "/" + name + ".lock";
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string dir = (runtime && *runtime) ? runtime : "/tmp";
    return dir + "/" + name + "-" + std::to_string(::getuid()) + ".lock";
}

MutexResult PosixSystem::acquireMutex(const std::string& name, std::unique_ptr<NamedMutex>& held) {
    std::string path = mutexPath(name);
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return MutexResult::Failed;
    // An advisory lock dies with its process: a copy that crashed never blocks the next.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return MutexResult::Busy;
    }
    held = std::make_unique<FlockMutex>(fd);
    return MutexResult::Acquired;
}

std::optional<std::string> PosixSystem::environment(const std::string& name) {
    const char* v = std::getenv(name.c_str());
    if (!v)
        return std::nullopt;
    return std::string(v);
}

bool PosixSystem::inSystemArea(const std::string& path) {
    // A machine root holds drives of a Windows layout and no operating system of its own.
    if (machineRoot_)
        return false;
    std::string native = map_.toNative(path);
    if (native.empty() || native[0] != '/')
        return false;
    // The first component of the path as it really runs, "." and ".." worked out.
    std::string p = std::filesystem::path(native).lexically_normal().string();
    size_t end = p.find('/', 1);
    std::string top = p.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    static const char* const areas[] = {"usr", "etc", "boot", "var", "opt", "srv", "bin", "sbin"};
    for (const char* a : areas)
        if (top == a)
            return true;
    // lib, lib32, lib64, libx32: the library folders of each word size.
    return top.compare(0, 3, "lib") == 0 && top.find_first_not_of("x0123456789", 3) == std::string::npos;
}

} // namespace platform::posix
