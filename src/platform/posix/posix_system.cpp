#include "platform/posix/posix_system.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <filesystem>

#include "platform/posix/folder_handle.h"

namespace platform::posix {

namespace {

// Closing the descriptor releases the lock.
class FlockMutex : public NamedMutex {
public:
    explicit FlockMutex(Descriptor fd) : fd_(std::move(fd)) {}

private:
    Descriptor fd_;
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

bool PosixSystem::setCurrentFolder(const std::string& folder) {
    std::string native = map_.toNative(folder);
    return !native.empty() && ::chdir(native.c_str()) == 0;
}

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
    // The folder may be shared with other users (/tmp): a link planted there is not
    // followed (as root we would create a file wherever it points), and only a plain file
    // of our own is a lock of ours. Anything else is as a mutex that cannot be made: the
    // program starts, rather than let another user keep it from starting.
    Descriptor fd(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600));
    if (!fd)
        return MutexResult::Failed;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return MutexResult::Failed;
    // An advisory lock dies with its process: a copy that crashed never blocks the next.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return MutexResult::Busy;
    held = std::make_unique<FlockMutex>(std::move(fd));
    return MutexResult::Acquired;
}

std::optional<std::string> PosixSystem::environment(const std::string& name) {
    if (environment_) {
        auto it = environment_->find(name);
        return it == environment_->end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    const char* v = std::getenv(name.c_str());
    if (!v)
        return std::nullopt;
    return std::string(v);
}

bool PosixSystem::inSystemArea(const std::string& path) {
    if (!areas_) {
        if (machineRoot_)
            return false;
        areas_ = SystemAreas::ofThisMachine();
    }
    std::string native = map_.toNative(path);
    return !native.empty() && areas_->reaches(native);
}

bool PosixSystem::setThreadPriority(int priority) {
    // Nice values run from 19 (least) to -20 (most); the extremes stand for idle and time critical.
    int nice = priority <= -15 ? 19 : priority >= 15 ? -20 : priority * -5;
    return ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice) == 0;
}

std::vector<std::string> PosixSystem::hostAddresses() {
    std::vector<std::string> out;
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return out;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0)
        return out;
    std::unique_ptr<addrinfo, void (*)(addrinfo*)> guard(found, ::freeaddrinfo);
    for (addrinfo* a = found; a; a = a->ai_next) {
        char text[INET_ADDRSTRLEN];
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
        if (::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            out.push_back(text);
    }
    return out;
}

} // namespace platform::posix
