#include "analyzer/size_engine.h"

#include <algorithm>
#include <memory>
#include <thread>

#include "analyzer/size_pool.h"
#include "common/paths.h"
#include "platform/platform.h"
#include "services/disk.h"
#include "services/folder_sizes.h"
#include "toolkit/control.h"
#include "toolkit/toolkit.h"

std::atomic<bool> ScanAborted{false};

void RequestStop() { ScanAborted = true; }
void ClearStop() { ScanAborted = false; }

namespace {

constexpr std::int64_t kMegabyte = 1048576;

// Lets the window deliver ESC and repaint.
void pump() {
    if (toolkit::Toolkit* t = toolkit::Toolkit::instance())
        t->processMessages();
}

// The bar shows activity, not a fraction: it fills and wraps around.
void tick(toolkit::ProgressBar* bar, std::uint64_t times = 1) {
    if (bar && bar->max() > 0 && times > 0) {
        auto max = static_cast<std::uint64_t>(bar->max());
        bar->setPosition(static_cast<int>((static_cast<std::uint64_t>(bar->position()) + times % max) % max));
    }
}

int defaultWorkers() {
    unsigned cores = std::thread::hardware_concurrency();
    return cores < 2 ? 1 : int(std::min(cores, 4u));
}

int& workerSetting() {
    static int workers = defaultWorkers();
    return workers;
}

std::unique_ptr<SizePool>& poolSlot() {
    static std::unique_ptr<SizePool> pool;
    return pool;
}

// Walks on the pool now running, nested ones included (interface thread only): the pool
// is only ever replaced while none waits on it.
int walksRunning = 0;

SizePool& pool() {
    auto& p = poolSlot();
    if (p && p->workers() != workerSetting() && walksRunning == 0)
        p.reset();
    if (!p)
        p = std::make_unique<SizePool>(workerSetting());
    return *p;
}

} // namespace

SizePool* SizePoolForWalk() {
    if (workerSetting() <= 1)
        return nullptr;
    SizePool& p = pool();
    ++walksRunning;
    return &p;
}

void SizePoolWalkEnded() { --walksRunning; }

namespace {

// The bytes below a folder known to exist, on this thread: one pump per folder, one tick
// per entry, in listing order.
std::int64_t walk(const std::string& folder, toolkit::ProgressBar* progress) {
    std::int64_t total = 0;
    AddFileSizes(folder, total,
                 {[&](const platform::DirEntry&) {
                      tick(progress);
                      return true;
                  },
                  [] {
                      pump();
                      return !ScanAborted;
                  }});
    return total;
}

std::int64_t folderBytes(const std::string& path, toolkit::ProgressBar* progress) {
    pump();
    if (ScanAborted || !platform::files().isDirectory(path))
        return 0;
    if (workerSetting() <= 1)
        return walk(path, progress);
    // The same sum on the workers; this thread ticks what they listed and pumps meanwhile.
    SizePool& workers = pool();
    struct Running {
        Running() { ++walksRunning; }
        ~Running() { --walksRunning; }
    } running;
    return workers.folderBytes(path, [&](std::uint64_t entries, bool done) {
        tick(progress, entries);
        if (!done)
            pump();
    });
}

} // namespace

void SetSizeWorkers(int workers) {
    workerSetting() = std::clamp(workers, 1, 64);
    if (walksRunning == 0)
        poolSlot().reset(); // else the next walk after them takes the new count
}

int SizeWorkers() { return workerSetting(); }

namespace {

// The bytes below each of `folders` (subfolders of one folder, known to exist), handed to
// `onSized` by index as each is done. On this thread: one walk after the other, a pump
// before each. On the workers: all in one walk, so they never idle while the last
// folders of one subfolder are finished; this thread pumps meanwhile.
void subfolderBytes(const std::vector<std::string>& folders, toolkit::ProgressBar* progress,
                    const std::function<void(std::size_t, std::int64_t)>& onSized) {
    if (folders.empty())
        return;
    if (workerSetting() <= 1) {
        for (std::size_t k = 0; k < folders.size(); ++k) {
            pump();
            onSized(k, ScanAborted ? 0 : walk(folders[k], progress));
        }
        return;
    }
    pump();
    SizePool& workers = pool();
    struct Running {
        Running() { ++walksRunning; }
        ~Running() { --walksRunning; }
    } running;
    workers.folderBytes(
        folders,
        [&](std::uint64_t entries, bool done) {
            tick(progress, entries);
            if (!done)
                pump();
        },
        onSized);
}

std::vector<TSpaceEntry> scan(const std::string& folder, bool whole, toolkit::ProgressBar* progress,
                              const SpaceEntrySink& onEntry) {
    std::vector<TSpaceEntry> entries;
    // A link to a folder is no folder of this tree, as in FolderSize.
    if (!platform::files().isDirectory(folder))
        return entries;
    // The folder's own listing first; its subfolders are then sized in one go.
    struct Item {
        std::string name;
        bool directory, sized;
        std::uint64_t size;
        std::size_t subfolder; // index into `subfolders` when sized
    };
    std::vector<Item> items;
    std::vector<std::string> subfolders;
    platform::files().listFolder(folder, platform::ListDetail::Sizes, [&](const platform::DirEntry& e) {
        const bool sized = EntersSubfolder(e);
        items.push_back({e.name, e.isDirectory(), sized, e.size, subfolders.size()});
        if (sized)
            subfolders.push_back(JoinPath(folder, e.name));
        return true;
    });
    std::vector<std::int64_t> bytes(subfolders.size(), 0);
    std::vector<bool> known(subfolders.size(), false);
    // Entries go out in listing order, each as soon as it and all before it are known.
    std::size_t next = 0;
    auto deliver = [&] {
        for (; next < items.size(); ++next) {
            const Item& item = items[next];
            if (item.sized && !known[item.subfolder])
                return;
            auto add = [&](double mb) {
                entries.push_back({item.name, mb});
                if (onEntry)
                    onEntry(entries.back());
            };
            if (item.directory && item.name != "." && item.name != "..") {
                double mb = 0;
                if (item.sized) {
                    mb = SizeInUnit(bytes[item.subfolder], suMegabytes);
                    if (whole)
                        mb = static_cast<double>(static_cast<std::int64_t>(mb));
                }
                add(mb);
            } else if (!item.directory && item.size > 1024) {
                add(static_cast<double>(static_cast<std::int64_t>(item.size) / kMegabyte));
            }
            if (whole || !item.directory)
                tick(progress);
        }
    };
    deliver();
    subfolderBytes(subfolders, progress, [&](std::size_t k, std::int64_t b) {
        bytes[k] = b;
        known[k] = true;
        deliver();
    });
    deliver();
    return entries;
}

} // namespace

double FolderSize(const std::string& path, int unit, toolkit::ProgressBar* progress) {
    return SizeInUnit(folderBytes(path, progress), unit);
}

std::vector<TSpaceEntry> ScanFolderSpace(const std::string& folder, toolkit::ProgressBar* progress,
                                         const SpaceEntrySink& onEntry) {
    return scan(folder, false, progress, onEntry);
}

std::vector<TSpaceEntry> ScanFolderSpaceWhole(const std::string& folder, toolkit::ProgressBar* progress,
                                              const SpaceEntrySink& onEntry) {
    // Also without its trailing separator the folder itself is listed, never its
    // neighbours whose names begin like it.
    return scan(folder, true, progress, onEntry);
}

std::vector<TDriveSpace> DriveSpaceFigures(const TDisk& table) {
    std::vector<TDriveSpace> rows;
    for (int i = 0; i < table.Count; ++i) {
        std::string root = table.DriveName(i);
        std::int64_t total = -1, freeBytes = -1;
        if (!platform::files().diskFreeSpace(root, total, freeBytes))
            total = freeBytes = -1;
        // Division toward zero: a drive that cannot say (-1) shows 0.
        rows.push_back({root, freeBytes / kMegabyte, total / kMegabyte});
    }
    return rows;
}
