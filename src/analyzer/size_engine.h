#pragma once
// The arithmetic under the analyzer's charts: the size of a folder tree, one folder's
// entries as labelled sizes, the space of each drive, and the ESC stop of a sizing run.
// Nothing is cached: every call walks the tree again.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/size_units.h"

class TDisk;
namespace toolkit {
class ProgressBar;
}

// One labelled size of a folder scan.
struct TSpaceEntry {
    std::string Label;     // the entry's own name, no path
    double Megabytes = 0;  // in units of 1,048,576 bytes
    bool operator==(const TSpaceEntry&) const = default;
};

// One drive of the drive table.
struct TDriveSpace {
    std::string Root;         // "C:\" form
    std::int64_t FreeMB = 0;  // free bytes available to the user / 1,048,576
    std::int64_t TotalMB = 0; // capacity / 1,048,576
    bool operator==(const TDriveSpace&) const = default;
};

// Set by ESC, cleared when the user opens a list entry. While set, every folder not yet
// measured counts 0. Atomic because the parallel walk's workers read it.
extern std::atomic<bool> ScanAborted;

void RequestStop();
void ClearStop();

// Called with each entry as soon as it is measured, so a chart can fill while a scan runs.
using SpaceEntrySink = std::function<void(const TSpaceEntry&)>;

// Threads that size a tree while the user-interface thread waits, pumping its messages
// every few milliseconds; 1 walks on the user-interface thread itself, pumping once per
// folder. The results are the same. The junk scan lists ahead on the same workers. Up to four by default, one per core. A change made
// while a walk runs (from a message handler) takes effect once it is over.
void SetSizeWorkers(int workers);
int SizeWorkers();

// A walk over a folder tree in the order one thread takes it (depth first, each folder's
// entries before anything below them) whose folders the size workers list ahead of it,
// so that the calling (user-interface) thread only goes through what they listed. With
// one worker the calling thread lists each folder itself as it comes to it. The folders
// listed and not yet reached hold about `aheadEntries` entries at most, however large the
// tree: once the workers are that far ahead they wait.
class TreeListing {
public:
    // What the lister made of one folder; the walk keeps it until the folder is left.
    struct Folder {
        virtual ~Folder() = default;
        std::size_t weight = 0; // its entries, for the bound on what is listed ahead
    };
    // Lists `path` and appends the paths of the subfolders the walk goes into, in the
    // order it goes into them; nullptr for a folder that cannot be listed. Runs on the
    // workers, several folders at once, and on the calling thread: it touches nothing
    // but what it is given and what it makes. A throw counts as a folder that cannot be
    // listed.
    using Lister = std::function<std::unique_ptr<Folder>(const std::string& path, std::vector<std::string>& subfolders)>;
    struct Node; // one folder of the walk

    TreeListing(const std::string& root, Lister lister, std::size_t aheadEntries);
    // Stops the workers' listing for it and waits until none lists anything of it; a walk
    // ended by a stop or a throw half way is sound to destroy.
    ~TreeListing();
    TreeListing(const TreeListing&) = delete;
    TreeListing& operator=(const TreeListing&) = delete;

    // The root folder, listed. While this thread waits for a worker, it lists folders of
    // the walk nobody has begun, or runs `whileWaiting` every few milliseconds (a pump,
    // which may throw).
    Node& root(const std::function<void()>& whileWaiting = {});
    // The k-th subfolder `parent`'s lister gave, listed; waits as root() does.
    Node& child(Node& parent, std::size_t k, const std::function<void()>& whileWaiting = {});
    // What the lister made of a listed folder; nullptr when it cannot be listed.
    static Folder* folder(Node& node);
    static const std::string& path(const Node& node);
    static std::size_t subfolders(const Node& node);
    // The walk is done with the k-th subfolder of `parent` and everything below it.
    void leave(Node& parent, std::size_t k);

private:
    void ready(Node& node, const std::function<void()>& whileWaiting);
    struct State;
    std::unique_ptr<State> state_;
};

// The size of every file below `path` at any depth, in `unit`, truncated to three
// decimals. Enters every subfolder except links and mount points; 0 when `path` is not
// an existing folder (a link to one included) or when a stop has been requested.
// Pumps the window's messages as it goes and ticks `progress` once per entry listed
// ("." and ".." included).
double FolderSize(const std::string& path, int unit, toolkit::ProgressBar* progress = nullptr);

// The entries of `folder` in listing order: each subfolder with its FolderSize in
// megabytes (a link or mount point with 0), each file above 1,024 bytes with its whole
// megabytes. Ticks `progress` after each entry that is not a folder.
std::vector<TSpaceEntry> ScanFolderSpace(const std::string& folder, toolkit::ProgressBar* progress = nullptr,
                                         const SpaceEntrySink& onEntry = {});

// The same walk with folder sizes cut to whole megabytes; ticks after every entry.
std::vector<TSpaceEntry> ScanFolderSpaceWhole(const std::string& folder, toolkit::ProgressBar* progress = nullptr,
                                              const SpaceEntrySink& onEntry = {});

// Free and total megabytes of every drive of `table`, in table order, read now; a drive
// that cannot say (no medium, gone) gives 0 and 0.
std::vector<TDriveSpace> DriveSpaceFigures(const TDisk& table);
