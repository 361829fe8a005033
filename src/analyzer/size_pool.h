#pragma once
// Worker threads that walk trees in parallel while the calling (user-interface) thread
// waits and keeps its window alive: sizing walks, and listings ahead of an ordered walk
// (TreeListing). Internal to the size engine.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "analyzer/size_engine.h"
#include "platform/file_system.h"
#include "services/folder_sizes.h"

// One folder of an ordered walk. Its state and children change under the pool's mutex
// (or, without a pool, on the one thread); its folder is written by whoever lists it,
// before it is marked done, and read by the walk after.
struct TreeListing::Node {
    enum class State { Queued, Listing, Done };

    explicit Node(std::string p) : path(std::move(p)) {}
    std::string path;
    State state = State::Queued;
    bool waited = false;     // the walk sleeps until it is done
    std::size_t ahead = 0;   // its entries while it counts as listed ahead of the walk
    std::unique_ptr<Folder> folder;
    std::vector<std::unique_ptr<Node>> children;
};

class SizePool;
// The size engine's pool for a walk that begins now, nullptr when walks go on the calling
// thread alone (one worker); until SizePoolWalkEnded the pool is not replaced.
SizePool* SizePoolForWalk();
void SizePoolWalkEnded();

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

    // Called on the waiting thread with the index of a folder and its bytes as soon as
    // everything below it is summed, in the order they finish.
    using Summed = std::function<void(std::size_t folder, std::int64_t bytes)>;
    // The bytes below each of `folders` (existing folders, none inside another), by index,
    // in one walk: the workers go on to the next folder while one is still being finished.
    // As folderBytes otherwise; an exception from `onSummed` stops the walk as one from
    // `onSlice` does.
    std::vector<std::int64_t> folderBytes(const std::vector<std::string>& folders, const Slice& onSlice,
                                          const Summed& onSummed);

    // The ordered walks: the state of one, kept by its TreeListing.
    struct Ahead;
    // Queues the root of a new walk.
    void begin(Ahead& walk, TreeListing::Node& root);
    // `node` listed: waits for the worker that lists it, lists it here when none has begun
    // it, and meanwhile lists other folders of the walk or runs `whileWaiting`.
    void await(Ahead& walk, TreeListing::Node& node, const std::function<void()>& whileWaiting);
    // The walk is done with `node` (its subtree gone through): frees it, or keeps it to the
    // end when something below it is still listed.
    void leave(Ahead& walk, std::unique_ptr<TreeListing::Node>& node);
    // Stops the walk and waits until no worker lists anything of it.
    void end(Ahead& walk);

private:
    struct Walk;
    struct SizeWalk;
    struct Task {
        Walk* walk;
        TreeListing::Node* node; // a folder of an ordered walk, else nullptr
        std::string folder;      // a folder of a sizing walk
        std::size_t root = 0;    // which of the sizing walk's folders it lies below
    };

    void work();
    // The index of the task a thread may take now, from the top; -1 for none.
    long takeable() const;
    // Runs a task taken off the stack, the mutex held by `lock` on entry and on exit.
    void run(Task& task, std::unique_lock<std::mutex>& lock, bool byWorker);
    // Stops a walk and waits (the mutex held by `lock`) until no task of it is left.
    void abandon(Walk& walk, std::unique_lock<std::mutex>& lock);

    std::mutex mutex_;
    std::condition_variable wake_;     // workers: a task, or the end
    std::condition_variable finished_; // callers: a walk or a folder is done
    std::vector<Task> tasks_;          // last in, first out: depth first, so it stays short
    bool quit_ = false;
    std::vector<std::thread> threads_;
};
