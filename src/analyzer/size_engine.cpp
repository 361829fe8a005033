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

std::vector<TSpaceEntry> scan(const std::string& folder, bool whole, toolkit::ProgressBar* progress,
                              const SpaceEntrySink& onEntry) {
    std::vector<TSpaceEntry> entries;
    // A link to a folder is no folder of this tree, as in FolderSize.
    if (!platform::files().isDirectory(folder))
        return entries;
    auto add = [&](const std::string& label, double mb) {
        entries.push_back({label, mb});
        if (onEntry)
            onEntry(entries.back());
    };
    platform::files().listFolder(folder, platform::ListDetail::Sizes, [&](const platform::DirEntry& e) {
        if (e.isDirectory() && !e.isDots()) {
            double mb = 0;
            if (!e.isReparsePoint()) {
                mb = SizeInUnit(folderBytes(JoinPath(folder, e.name), progress), suMegabytes);
                if (whole)
                    mb = static_cast<double>(static_cast<std::int64_t>(mb));
            }
            add(e.name, mb);
        } else if (!e.isDirectory() && e.size > 1024) {
            add(e.name, static_cast<double>(static_cast<std::int64_t>(e.size) / kMegabyte));
        }
        if (whole || !e.isDirectory())
            tick(progress);
        return true;
    });
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
