// FolderSize of a whole drive against `du -sb` of the same tree and against a bare
// two-thread walk (openat, getdents64, statx and nothing else), warm cache, headless.
//
//   ../shared/bench/make_tree.sh /tmp/tree               # about 200,000 files; not in git
//   cmake --preset release && cmake --build --preset release --target bench_folder_size
//   build/release/bench/bench_folder_size /tmp/tree [repetitions=7] [workers=1,2]
//
// The tree becomes drive C: of a temporary machine root. Each repetition times `du -sb`
// and FolderSize("C:\", bytes) with a progress bar and a headless message pump, as the
// analyzer runs it, once for each worker count (1: the walk on the calling thread), and
// the bare walk, interleaved; the medians and their ratios to du and to the bare walk
// are printed. Peak memory is the walk's
// own high-water mark (reset before each walk), for the whole tree and for a subtree, so
// a memory cost that grows with the tree shows. Run it when the machine is idle.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "analyzer/size_engine.h"
#include "platform/posix/posix_platform.h"
#include "toolkit/control.h"
#include "toolkit/headless_toolkit.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

double seconds(const std::function<void()>& fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double cpu(const struct rusage& r) {
    return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}
double user(const struct rusage& r) { return double(r.ru_utime.tv_sec) + double(r.ru_utime.tv_usec) / 1e6; }

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs `du -sb dir`, its output thrown away.
void du(const std::string& dir) {
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    const char* argv[] = {"du", "-sb", dir.c_str(), nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "du", &fa, nullptr, const_cast<char**>(argv), environ) != 0) {
        std::perror("du");
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&fa);
    int status;
    waitpid(pid, &status, 0);
}

// The walk as close to the system as it goes: two threads share a stack of native folder
// paths; each opens a folder, reads it with getdents64 in 32 KiB pieces and takes one
// statx per entry (links not followed), adds the sizes of regular files and pushes the
// subfolders that are not mounts. The practical limit of what a sizing walk can cost.
struct BareWalk {
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::string> stack;
    int busy = 0;
    std::int64_t bytes = 0;

    void work() {
        alignas(8) static thread_local char buf[32768];
        std::vector<std::string> subs;
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            wake.wait(lock, [&] { return !stack.empty() || busy == 0; });
            if (stack.empty())
                return;
            std::string dir = std::move(stack.back());
            stack.pop_back();
            ++busy;
            lock.unlock();
            std::int64_t local = 0;
            int fd = ::openat(AT_FDCWD, dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
            if (fd >= 0) {
                struct statx self;
                bool selfKnown = ::statx(fd, "", AT_EMPTY_PATH, STATX_TYPE, &self) == 0;
                for (;;) {
                    long n = ::syscall(SYS_getdents64, fd, buf, sizeof buf);
                    if (n <= 0)
                        break;
                    for (long at = 0; at < n;) {
                        struct Dirent64 {
                            ino64_t ino;
                            off64_t off;
                            unsigned short reclen;
                            unsigned char type;
                            char name[1];
                        };
                        auto* d = reinterpret_cast<Dirent64*>(buf + at);
                        at += d->reclen;
                        const char* name = d->name;
                        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                            continue;
                        struct statx st;
                        if (::statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_SIZE, &st) != 0)
                            continue;
                        if (S_ISREG(st.stx_mode))
                            local += std::int64_t(st.stx_size);
                        else if (S_ISDIR(st.stx_mode) && selfKnown && st.stx_dev_major == self.stx_dev_major &&
                                 st.stx_dev_minor == self.stx_dev_minor)
                            subs.push_back(dir + "/" + name);
                    }
                }
                ::close(fd);
            }
            lock.lock();
            --busy;
            bytes += local;
            for (std::string& s : subs)
                stack.push_back(std::move(s));
            if (subs.size() > 1 || (stack.empty() && busy == 0))
                wake.notify_all();
            subs.clear();
        }
    }

    static std::int64_t run(const std::string& tree, int threads) {
        BareWalk walk;
        walk.stack.push_back(tree);
        std::vector<std::thread> pool;
        for (int i = 0; i < threads; ++i)
            pool.emplace_back([&] { walk.work(); });
        for (std::thread& t : pool)
            t.join();
        return walk.bytes;
    }
};

long statusKb(const char* field) {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::string(field).size());
    return -1;
}

// Peak resident memory of `fn` above what the process held before, in KiB.
long peakKb(const std::function<void()>& fn) {
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the high-water mark
    long before = statusKb("VmRSS:");
    fn();
    return statusKb("VmHWM:") - before;
}

// "apparent_bytes_all_names" of the tree's manifest, if there is one.
long long manifestBytes(const std::string& tree) {
    std::ifstream f(tree + ".manifest.json");
    std::stringstream ss;
    ss << f.rdbuf();
    std::string s = ss.str();
    auto at = s.find("\"apparent_bytes_all_names\":");
    return at == std::string::npos ? -1 : std::atoll(s.c_str() + at + 27);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TREE [repetitions] [workers,...]\n", argv[0]);
        return 2;
    }
    std::string tree = fs::absolute(argv[1]).lexically_normal().string();
    int reps = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    if (!tree.empty() && tree.back() == '/')
        tree.pop_back();

    std::string tmpl = (fs::temp_directory_path() / "quor-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        return 1;
    fs::path root = tmpl;
    fs::create_directories(root / "dosdevices");
    fs::create_directory_symlink(tree, root / "dosdevices" / "c:");

    platform::posix::PosixPlatform machine(root.string());
    platform::install(machine.services());
    toolkit::HeadlessToolkit tk;
    toolkit::ProgressBar bar(nullptr, "Pb_Process");

    // Modes: 1 walks on this thread as the classic engine does; more walk on workers.
    std::vector<int> modes;
    for (std::stringstream ss(argc > 3 ? argv[3] : "1,2"); ss.good();) {
        std::string w;
        std::getline(ss, w, ',');
        if (std::atoi(w.c_str()) > 0)
            modes.push_back(std::atoi(w.c_str()));
    }
    struct Mode {
        int workers;
        double bytes = 0;
        std::vector<double> times;
        double cpu = 0, user = 0;
        long treeKb = 0, subKb = 0;
    };
    std::vector<Mode> runs;
    for (int w : modes) {
        runs.emplace_back();
        runs.back().workers = w;
    }

    // Warm the cache for all.
    du(tree);
    for (Mode& r : runs) {
        SetSizeWorkers(r.workers);
        r.bytes = FolderSize("C:\\", suBytes, &bar);
    }

    std::int64_t bareBytes = BareWalk::run(tree, 2);
    std::vector<double> duTimes, bareTimes;
    double bareCpu = 0;
    struct rusage c0, c1;
    getrusage(RUSAGE_CHILDREN, &c0);
    for (int i = 0; i < reps; ++i) {
        duTimes.push_back(seconds([&] { du(tree); }));
        {
            struct rusage s0, s1;
            getrusage(RUSAGE_SELF, &s0);
            bareTimes.push_back(seconds([&] { bareBytes = BareWalk::run(tree, 2); }));
            getrusage(RUSAGE_SELF, &s1);
            bareCpu += cpu(s1) - cpu(s0);
        }
        for (Mode& r : runs) {
            SetSizeWorkers(r.workers);
            struct rusage s0, s1;
            getrusage(RUSAGE_SELF, &s0);
            r.times.push_back(seconds([&] { r.bytes = FolderSize("C:\\", suBytes, &bar); }));
            getrusage(RUSAGE_SELF, &s1);
            r.cpu += cpu(s1) - cpu(s0);
            r.user += user(s1) - user(s0);
        }
    }
    getrusage(RUSAGE_CHILDREN, &c1);
    double duMedian = median(duTimes);
    double bareMedian = median(bareTimes);

    // The largest subfolder of the root, for the memory comparison.
    std::string sub;
    double subBytes = 0;
    for (const TSpaceEntry& e : ScanFolderSpace("C:\\"))
        if (e.Megabytes >= subBytes)
            sub = e.Label, subBytes = e.Megabytes;
    for (Mode& r : runs) {
        SetSizeWorkers(r.workers);
        r.treeKb = peakKb([&] { FolderSize("C:\\", suBytes, &bar); });
        r.subKb = peakKb([&] { FolderSize("C:\\" + sub, suBytes, &bar); });
    }

    std::printf("load             %s", [] {
        std::ifstream f("/proc/loadavg");
        std::string l;
        std::getline(f, l);
        return l + "\n";
    }().c_str());
    std::printf("tree             %s\n", tree.c_str());
    std::printf("bytes            manifest %lld\n", manifestBytes(tree));
    std::printf("du -sb           median %7.1f ms of %d, cpu %.1f ms (user %.1f)\n", duMedian * 1000, reps,
                (cpu(c1) - cpu(c0)) * 1000 / reps, (user(c1) - user(c0)) * 1000 / reps);
    std::printf("bare walk, 2 th  median %7.1f ms = %.2f x du, cpu %.1f ms; %lld bytes\n", bareMedian * 1000,
                bareMedian / duMedian, bareCpu * 1000 / reps, static_cast<long long>(bareBytes));
    for (const Mode& r : runs) {
        double m = median(r.times);
        std::printf("FolderSize, %d %s median %7.1f ms = %.2f x du = %.2f x bare walk, cpu %.1f ms (user %.1f); "
                    "%.0f bytes\n",
                    r.workers, r.workers == 1 ? "thread " : "workers", m * 1000, m / duMedian, m / bareMedian,
                    r.cpu * 1000 / reps, r.user * 1000 / reps, r.bytes);
        std::printf("                 peak memory: whole tree +%ld KiB, subtree \"%s\" +%ld KiB\n", r.treeKb,
                    sub.c_str(), r.subKb);
    }
    struct rusage self, children;
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    std::printf("peak of process  %ld KiB, of du %ld KiB\n", self.ru_maxrss, children.ru_maxrss);

    std::error_code ec;
    fs::remove_all(root, ec); // only the machine root and its link, never the tree
    return 0;
}
