#include "analyzer/size_pool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iterator>

#include "common/paths.h"
#include "platform/platform.h"

// A walk lives with its caller (on the stack of folderBytes, or in a TreeListing); workers
// reach it through their tasks. The one rule that keeps that sound: a worker touches a
// walk only while it holds one of the walk's pending tasks, and gives that task up
// (--pending, under the mutex) as its very last touch. The caller lets the walk go only
// once pending is 0, so it sees everything added, and no worker holds the walk after it
// is gone.
struct SizePool::Walk {
    std::size_t pending = 0; // tasks queued or being run, under the mutex
    bool stopped = false;    // under the mutex: start nothing more for it
};

struct SizePool::SizeWalk : Walk {
    explicit SizeWalk(std::size_t roots) : bytes(roots, 0), open(roots, 1) { summed.reserve(roots); }
    // By root, under the mutex.
    std::vector<std::int64_t> bytes;
    std::vector<std::size_t> open;     // its tasks queued or being run
    std::vector<std::size_t> summed;   // roots whose tasks are all done, not yet reported;
                                       // reserved for all, so a worker never allocates here
    std::atomic<std::uint64_t> entries{0}; // listed so far
};

struct SizePool::Ahead : Walk {
    Ahead(TreeListing::Lister l, std::size_t b) : lister(std::move(l)), budget(b) {}
    TreeListing::Lister lister;
    std::size_t budget;       // entries listed ahead of the walk, at most (roughly)
    std::size_t buffered = 0; // entries of folders listed and not reached yet, under the mutex
    // Folders left while something below them was still queued or listed: freed at the end.
    std::vector<std::unique_ptr<TreeListing::Node>> graveyard;
};

namespace {

// Lists one folder of an ordered walk into its node (and the nodes of its subfolders),
// outside the mutex. Out of memory, or any other throw of the lister, leaves it a folder
// that cannot be listed.
void listNode(TreeListing::Node& node, const TreeListing::Lister& lister) {
    std::vector<std::string> subfolders;
    try {
        node.folder = lister(node.path, subfolders);
        node.children.reserve(subfolders.size());
        for (std::string& s : subfolders)
            node.children.push_back(std::make_unique<TreeListing::Node>(std::move(s)));
    } catch (...) {
        node.folder.reset();
        node.children.clear();
    }
}

// True when nothing of the subtree is queued or being listed.
bool quiet(const TreeListing::Node& node) {
    if (node.state != TreeListing::Node::State::Done)
        return false;
    for (const auto& c : node.children)
        if (c && !quiet(*c))
            return false;
    return true;
}

} // namespace

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

long SizePool::takeable() const {
    // Mostly the top one; folders of an ordered walk that is far enough ahead wait.
    for (long i = long(tasks_.size()) - 1; i >= 0; --i) {
        const Task& t = tasks_[std::size_t(i)];
        if (!t.node)
            return i;
        auto* ahead = static_cast<const Ahead*>(t.walk);
        if (ahead->buffered < ahead->budget)
            return i;
    }
    return -1;
}

void SizePool::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        long at = -1;
        wake_.wait(lock, [&] { return quit_ || (at = takeable()) >= 0; });
        if (quit_)
            return;
        Task task = std::move(tasks_[std::size_t(at)]);
        tasks_.erase(tasks_.begin() + at);
        run(task, lock, true);
    }
}

void SizePool::run(Task& task, std::unique_lock<std::mutex>& lock, bool byWorker) {
    if (task.node) {
        auto& walk = static_cast<Ahead&>(*task.walk);
        TreeListing::Node& node = *task.node;
        node.state = TreeListing::Node::State::Listing;
        const bool stopped = walk.stopped;
        lock.unlock();
        if (!stopped)
            listNode(node, walk.lister);
        lock.lock();
        if (!walk.stopped) {
            // The first subfolder on top: the workers take them in the order the walk
            // enters them.
            for (auto c = node.children.rbegin(); c != node.children.rend(); ++c)
                tasks_.push_back({&walk, c->get(), {}});
            walk.pending += node.children.size();
            if (node.folder)
                walk.buffered += node.ahead = node.folder->weight;
            // One subfolder needs no wake-up when a worker listed this one: it goes round
            // and takes it itself.
            if (node.children.size() > 1 || (!byWorker && !node.children.empty()))
                wake_.notify_all();
        }
        node.state = TreeListing::Node::State::Done;
        const bool wanted = node.waited;
        // The last touch of the walk (see Walk).
        if (--walk.pending == 0 || wanted)
            finished_.notify_all();
        return;
    }

    auto& walk = static_cast<SizeWalk&>(*task.walk);
    const bool stopped = walk.stopped;
    lock.unlock();
    thread_local std::vector<std::string> subfolders;
    subfolders.clear();
    std::int64_t bytes = 0;
    std::uint64_t entries = 0;
    // The folder being listed when the stop comes is finished, as on the interface
    // thread; the ones after it are not begun.
    if (!ScanAborted && !stopped) {
        try {
            // A sum needs no order: the folder's own order is the cheaper one.
            platform::ListOptions options;
            options.detail = platform::ListDetail::Sizes;
            options.byName = false;
            platform::files().listFolder(task.folder, options, [&](const platform::DirEntry& e) {
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
    // Added while this task still counts as pending: the waiting call reads the entries
    // after it has seen pending reach 0 under the mutex, which orders this (relaxed)
    // addition before its read.
    walk.entries.fetch_add(entries, std::memory_order_relaxed);

    lock.lock();
    if (!walk.stopped) {
        walk.bytes[task.root] += bytes;
        walk.pending += subfolders.size();
        walk.open[task.root] += subfolders.size();
        for (std::string& s : subfolders)
            tasks_.push_back({&walk, nullptr, std::move(s), task.root});
        // One subfolder needs no wake-up: this worker goes round and takes it itself,
        // the mutex held from here to the next pop. More go to the sleeping workers.
        if (subfolders.size() > 1 || (!byWorker && !subfolders.empty()))
            wake_.notify_all();
        // The waiting thread picks it up at its next look, within a few milliseconds.
        if (--walk.open[task.root] == 0)
            walk.summed.push_back(task.root);
    }
    // The last touch of the walk (see Walk).
    if (--walk.pending == 0)
        finished_.notify_all();
}

void SizePool::abandon(Walk& walk, std::unique_lock<std::mutex>& lock) {
    walk.stopped = true;
    // Queued tasks of the walk go at once; the ones being run are waited for.
    std::size_t queued = tasks_.size();
    std::erase_if(tasks_, [&](const Task& t) { return t.walk == &walk; });
    walk.pending -= queued - tasks_.size();
    finished_.wait(lock, [&] { return walk.pending == 0; });
}

std::int64_t SizePool::folderBytes(const std::string& folder, const Slice& onSlice) {
    return folderBytes(std::vector<std::string>{folder}, onSlice, {}).front();
}

std::vector<std::int64_t> SizePool::folderBytes(const std::vector<std::string>& folders, const Slice& onSlice,
                                                const Summed& onSummed) {
    using namespace std::chrono_literals;
    SizeWalk walk(folders.size());
    std::uint64_t reported = 0;
    // Filled under the mutex, reported outside it; never larger than the roots.
    std::vector<std::pair<std::size_t, std::int64_t>> done;
    done.reserve(folders.size());
    // Reports what is new: runs message handlers, which may throw.
    auto report = [&](bool last) {
        for (const auto& [root, bytes] : done)
            if (onSummed)
                onSummed(root, bytes);
        done.clear();
        std::uint64_t now = walk.entries.load(std::memory_order_relaxed);
        if (onSlice)
            onSlice(now - reported, last);
        reported = now;
    };
    auto collect = [&] {
        for (std::size_t root : walk.summed)
            done.emplace_back(root, walk.bytes[root]);
        walk.summed.clear();
    };
    if (folders.empty())
        return {};
    // Made before the mutex is taken, so that queueing them cannot fail half way. The
    // first folder on top: the workers begin with it and go on in order.
    std::vector<Task> roots;
    roots.reserve(folders.size());
    for (std::size_t k = folders.size(); k-- > 0;)
        roots.push_back({&walk, nullptr, folders[k], k});
    std::unique_lock<std::mutex> lock(mutex_);
    tasks_.reserve(tasks_.size() + roots.size());
    walk.pending = roots.size();
    std::move(roots.begin(), roots.end(), std::back_inserter(tasks_));
    if (folders.size() > 1)
        wake_.notify_all();
    else
        wake_.notify_one();
    while (!finished_.wait_for(lock, 10ms, [&] { return walk.pending == 0; })) {
        collect();
        lock.unlock();
        try {
            report(false);
        } catch (...) {
            // The walk dies with this frame: no worker may still be writing into it.
            lock.lock();
            abandon(walk, lock);
            throw;
        }
        lock.lock();
    }
    collect();
    std::vector<std::int64_t> bytes = std::move(walk.bytes);
    lock.unlock();
    report(true);
    return bytes;
}

// --- ordered walks ---

void SizePool::begin(Ahead& walk, TreeListing::Node& root) {
    std::lock_guard<std::mutex> lock(mutex_);
    walk.pending = 1;
    tasks_.push_back({&walk, &root, {}});
    wake_.notify_one();
}

void SizePool::await(Ahead& walk, TreeListing::Node& node, const std::function<void()>& whileWaiting) {
    using namespace std::chrono_literals;
    using State = TreeListing::Node::State;
    std::unique_lock<std::mutex> lock(mutex_);
    while (node.state != State::Done) {
        // Not begun: this thread would only wait for it, so it lists it itself.
        long at = -1;
        if (node.state == State::Queued) {
            for (long i = long(tasks_.size()) - 1; i >= 0 && at < 0; --i)
                if (tasks_[std::size_t(i)].node == &node)
                    at = i;
        } else if (walk.buffered < walk.budget) {
            // Being listed: meanwhile this thread lists the next folder of the walk that
            // nobody has begun, unless the walk is far enough ahead already.
            for (long i = long(tasks_.size()) - 1; i >= 0; --i)
                if (tasks_[std::size_t(i)].walk == &walk) {
                    at = i;
                    break;
                }
        }
        if (at >= 0) {
            Task task = std::move(tasks_[std::size_t(at)]);
            tasks_.erase(tasks_.begin() + at);
            run(task, lock, false);
            continue;
        }
        if (node.state == State::Queued)
            return; // the walk was stopped: it never is listed (a folder that cannot be)
        node.waited = true;
        if (!finished_.wait_for(lock, 5ms, [&] { return node.state == State::Done; }) && whileWaiting) {
            lock.unlock();
            whileWaiting(); // may throw: the walk's owner ends it
            lock.lock();
        }
    }
    // Reached: no longer ahead. The folders the walk is inside count for nothing, so a
    // huge one on its way never keeps the workers waiting.
    if (node.ahead) {
        const bool wasFull = walk.buffered >= walk.budget;
        walk.buffered -= std::min(walk.buffered, node.ahead);
        node.ahead = 0;
        if (wasFull && walk.buffered < walk.budget)
            wake_.notify_all();
    }
}

void SizePool::leave(Ahead& walk, std::unique_ptr<TreeListing::Node>& node) {
    // Every folder below was reached (and left) on the way: quiet, unless the walk was
    // stopped half way.
    std::unique_ptr<TreeListing::Node> gone;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!node)
            return;
        if (!quiet(*node)) {
            walk.graveyard.push_back(std::move(node));
            return;
        }
        gone = std::move(node);
    }
    // Freed outside the mutex.
}

void SizePool::end(Ahead& walk) {
    std::unique_lock<std::mutex> lock(mutex_);
    abandon(walk, lock);
}

// --- the walk's own side, with or without a pool ---

struct TreeListing::State {
    State(Lister lister, std::size_t budget) : ahead(std::move(lister), budget) {}
    SizePool::Ahead ahead;
    SizePool* pool = nullptr;
    std::unique_ptr<Node> root;
};

TreeListing::TreeListing(const std::string& root, Lister lister, std::size_t aheadEntries)
    : state_(std::make_unique<State>(std::move(lister), std::max<std::size_t>(aheadEntries, 1))) {
    state_->root = std::make_unique<Node>(root);
    state_->pool = SizePoolForWalk();
    if (state_->pool) {
        try {
            state_->pool->begin(state_->ahead, *state_->root);
        } catch (...) {
            state_->pool = nullptr; // nothing queued: the walk goes on this thread alone
            SizePoolWalkEnded();
        }
    }
}

TreeListing::~TreeListing() {
    if (state_->pool) {
        state_->pool->end(state_->ahead);
        SizePoolWalkEnded();
    }
}

TreeListing::Node& TreeListing::root(const std::function<void()>& whileWaiting) {
    ready(*state_->root, whileWaiting);
    return *state_->root;
}

TreeListing::Node& TreeListing::child(Node& parent, std::size_t k, const std::function<void()>& whileWaiting) {
    Node& node = *parent.children.at(k);
    ready(node, whileWaiting);
    return node;
}

void TreeListing::ready(Node& node, const std::function<void()>& whileWaiting) {
    if (state_->pool) {
        state_->pool->await(state_->ahead, node, whileWaiting);
    } else if (node.state == Node::State::Queued) {
        // On this thread alone: each folder as the walk comes to it.
        node.state = Node::State::Listing;
        listNode(node, state_->ahead.lister);
        node.state = Node::State::Done;
    }
}

TreeListing::Folder* TreeListing::folder(Node& node) { return node.folder.get(); }

std::size_t TreeListing::subfolders(const Node& node) { return node.children.size(); }

const std::string& TreeListing::path(const Node& node) { return node.path; }

void TreeListing::leave(Node& parent, std::size_t k) {
    std::unique_ptr<Node>& node = parent.children.at(k);
    if (state_->pool)
        state_->pool->leave(state_->ahead, node);
    else
        node.reset();
}
