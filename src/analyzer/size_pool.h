#pragma once
// Worker threads that size a tree in parallel while the calling (user-interface) thread
// waits and keeps its window alive. Internal to the size engine.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "services/folder_sizes.h"

class SizePool {
public:
    explicit SizePool(int workers);
    ~SizePool();
    SizePool(const SizePool&) = delete;
    SizePool& operator=(const SizePool&) = delete;

    int workers() const { return int(threads_.size()); }

    // A subfolder that a sizing walk goes into: links and mount points lead out of the tree.
    static bool enters(const platform::DirEntry& e) { return EntersSubfolder(e); }

    // Called on the waiting thread every few milliseconds with the number of entries
    // listed since the last call, and once more when the walk is done.
    using Slice = std::function<void(std::uint64_t entries, bool done)>;

    // The bytes of every file below `folder`, an existing folder. A folder whose listing
    // has not begun when a stop is requested counts 0. A call from inside `onSlice` (a
    // message handler that sizes another folder) shares the workers with the walk that
    // waits for it. An exception from `onSlice` stops the walk and, once no worker lists
    // anything of it any more, goes on to the caller.
    std::int64_t folderBytes(const std::string& folder, const Slice& onSlice);

private:
    struct Walk;
    struct Task {
        std::string folder;
        Walk* walk;
    };

    void work();
    // Stops a walk and waits (the mutex held by `lock`) until no task of it is left.
    void abandon(Walk& walk, std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable wake_;     // workers: a task, or the end
    std::condition_variable finished_; // callers: a walk is done
    std::vector<Task> tasks_;          // last in, first out: depth first, so it stays short
    bool quit_ = false;
    std::vector<std::thread> threads_;
};
