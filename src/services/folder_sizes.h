#pragma once
// Folder sizes and tree deletion shared by the tools. Paths are drive paths ("C:\dir");
// every walk stays on one file system and never enters a link or a mount point.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/file_system.h"

// A subfolder that a walk over a tree goes into: links and mount points lead out of it.
inline bool EntersSubfolder(const platform::DirEntry& e) {
    return e.isDirectory() && !e.isDots() && !e.isReparsePoint();
}

// What a caller of AddFileSizes sees of the walk. Both may be empty.
struct SizeWalkHooks {
    // Every entry listed ("." and ".." included), after its size is added; false stops the walk.
    std::function<bool(const platform::DirEntry&)> onEntry;
    // Before a subfolder is entered; false leaves it out (it then counts 0).
    std::function<bool()> beforeSubfolder;
};

// The one walk that sums the sizes of the files below `folder` (an existing folder) into
// `total`, in listing order, depth first. False when `onEntry` stopped it.
bool AddFileSizes(const std::string& folder, std::int64_t& total, const SizeWalkHooks& hooks = {});

// Total size in bytes of every file below `folder` at any depth, hidden and system folders
// included; 0 when `folder` is not an existing folder (a link to one is not entered).
std::int64_t DirectorySize(const std::string& folder);

// DirectorySize(folder) == 0, but stops at the first file that holds a byte.
bool DirectorySizeIsZero(const std::string& folder);

// True when nothing but folders lies below `folder` at any depth (or nothing at all). A
// file of any size, a link, a mount point or any other entry counts as content, and so
// does a subfolder that cannot be read. False for a path that is not an existing folder.
bool FolderHoldsNoFile(const std::string& folder);

// DirectorySize in a unit (TSizeUnit), truncated to three decimals.
double FolderSizeIn(const std::string& folder, int unit);

// Deletes a file, or a folder with everything in it, permanently and without a question.
// True when everything went; false for a path that does not exist.
bool DeleteTree(const std::string& path);
