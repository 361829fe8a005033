#pragma once
// The arithmetic under the analyzer's charts: the size of a folder tree, one folder's
// entries as labelled sizes, the space of each drive, and the ESC stop of a sizing run.
// Nothing is cached: every call walks the tree again.
#include <atomic>
#include <cstdint>
#include <functional>
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
// folder. The results are the same. Up to four by default, one per core. A change made
// while a walk runs (from a message handler) takes effect once it is over.
void SetSizeWorkers(int workers);
int SizeWorkers();

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
