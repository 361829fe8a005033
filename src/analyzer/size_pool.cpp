#include "analyzer/size_pool.h"

#include <atomic>
#include <chrono>

#include "analyzer/size_engine.h"
#include "common/paths.h"
#include "platform/platform.h"

// A walk lives on the stack of the folderBytes call that waits for it; workers reach it
// through their tasks. The one rule that keeps that sound: a worker touches a walk only
// while it holds one of the walk's pending tasks, and gives that task up (--pending, under
// the mutex) as its very last touch. The waiting call leaves only once pending is 0, so
// it sees every byte and entry added, and no worker holds the walk after it is gone.
struct SizePool::Walk {
    std::int64_t bytes = 0;               // under the mutex
    std::size_t pending = 1;              // folders queued or being listed, under the mutex
    bool stopped = false;                 // under the mutex: list nothing more for it
    std::atomic<std::uint64_t> entries{0}; // listed so far
};

SizePool::SizePool(int workers) {
    for (int i = 0; i < workers; ++i)
        threads_.emplace_back([this] { work(); });
}

SizePool::~SizePool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    for (std::thread& t : threads_)
        t.join();
}

void SizePool::work() {
    std::vector<std::string> subfolders;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return quit_ || !tasks_.empty(); });
        if (quit_)
            return;
        Task task = std::move(tasks_.back());
        tasks_.pop_back();
        const bool stopped = task.walk->stopped;
        lock.unlock();

        subfolders.clear();
        std::int64_t bytes = 0;
        std::uint64_t entries = 0;
        // The folder being listed when the stop comes is finished, as on the interface
        // thread; the ones after it are not begun.
        if (!ScanAborted && !stopped) {
            try {
                platform::files().listFolder(task.folder, platform::ListDetail::Sizes, [&](const platform::DirEntry& e) {
                    ++entries;
                    bytes += static_cast<std::int64_t>(e.size);
                    if (enters(e))
                        subfolders.push_back(JoinPath(task.folder, e.name));
                    return true;
                });
            } catch (...) {
                // Out of memory in a huge folder: it counts as one that cannot be listed.
                bytes = 0;
                subfolders.clear();
            }
        }
        // Added while this task still counts as pending: the waiting call reads the
        // entries after it has seen pending reach 0 under the mutex, which orders this
        // (relaxed) addition before its read.
        task.walk->entries.fetch_add(entries, std::memory_order_relaxed);

        lock.lock();
        Walk& walk = *task.walk;
        if (!walk.stopped) {
            walk.bytes += bytes;
            walk.pending += subfolders.size();
            for (std::string& s : subfolders)
                tasks_.push_back({std::move(s), &walk});
            // One subfolder needs no wake-up: this worker goes round and takes it itself,
            // the mutex held from here to the next pop. More go to the sleeping workers.
            if (subfolders.size() > 1)
                wake_.notify_all();
        }
        // The last touch of the walk (see Walk).
        if (--walk.pending == 0)
            finished_.notify_all();
    }
}

void SizePool::abandon(Walk& walk, std::unique_lock<std::mutex>& lock) {
    walk.stopped = true;
    // Queued tasks of the walk go at once; the ones being listed are waited for.
    std::size_t queued = tasks_.size();
    std::erase_if(tasks_, [&](const Task& t) { return t.walk == &walk; });
    walk.pending -= queued - tasks_.size();
    finished_.wait(lock, [&] { return walk.pending == 0; });
}

std::int64_t SizePool::folderBytes(const std::string& folder, const Slice& onSlice) {
    using namespace std::chrono_literals;
    Walk walk;
    std::uint64_t reported = 0;
    auto report = [&](bool done) {
        std::uint64_t now = walk.entries.load(std::memory_order_relaxed);
        if (onSlice)
            onSlice(now - reported, done);
        reported = now;
    };
    std::unique_lock<std::mutex> lock(mutex_);
    tasks_.push_back({folder, &walk});
    wake_.notify_one();
    while (!finished_.wait_for(lock, 10ms, [&] { return walk.pending == 0; })) {
        lock.unlock();
        try {
            report(false); // runs message handlers, which may throw
        } catch (...) {
            // The walk dies with this frame: no worker may still be writing into it.
            lock.lock();
            abandon(walk, lock);
            throw;
        }
        lock.lock();
    }
    std::int64_t bytes = walk.bytes;
    lock.unlock();
    report(true);
    return bytes;
}
