#pragma once
// Folder sizes and tree deletion shared by the tools. Paths are drive paths ("C:\dir");
// every walk stays on one file system and never enters a link or a mount point.
#include <cstdint>
#include <string>

// `folder` + "\" + `name` (with "/" for a native folder), without doubling a separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// Total size in bytes of every file below `folder` at any depth, hidden and system folders
// included; 0 when `folder` is not an existing folder (a link to one is not entered).
std::int64_t DirectorySize(const std::string& folder);

// DirectorySize(folder) == 0, but stops at the first file that holds a byte.
bool DirectorySizeIsZero(const std::string& folder);

// True when nothing but folders lies below `folder` at any depth (or nothing at all). A
// file of any size, a link, a mount point or any other entry counts as content, and so
// does a subfolder that cannot be read. False for a path that is not an existing folder.
bool FolderHoldsNoFile(const std::string& folder);

// DirectorySize in a unit, truncated to three decimals: 0 megabytes, 1 kilobytes,
// 3 gigabytes, any other code bytes.
double FolderSizeIn(const std::string& folder, int unit);

// A byte total in a unit, by the same rule.
double SizeInUnit(std::int64_t bytes, int unit);

// Deletes a file, or a folder with everything in it, permanently and without a question.
// True when everything went; false for a path that does not exist.
bool DeleteTree(const std::string& path);
