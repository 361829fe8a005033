#pragma once
// The entries of the folder the analyzer lists, and the rules of their cells: sizes,
// attribute letters, the drive note of a folder row, the order of a column, type-ahead.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/shell_namespace.h"

struct TShellItem {
    platform::IdList FullIdList;  // current folder + child; set with the details
    platform::IdList ChildIdList; // as the folder enumerated it
    bool NeedsDetails = true;
    bool IsFolder = false;        // the shell's folder attribute, read at enumeration
    std::string DisplayName;
    std::string TypeName;
    std::int32_t IconIndex = 0;
    std::int32_t SizeKB = 0;
    std::int32_t Attributes = 0;
    platform::FileTime LastWriteTime = 0; // what the "最近修改" column sorts by
    std::string ModifiedText;
};

// Kilobytes rounded up, never below 1; lengths past what the field holds stay at its top.
std::int32_t SizeKBOf(std::uint64_t length);

// The size cell of a file: up to 1,024 KB in KB; above, in the largest unit that leaves a
// whole part from 1 to 1,024, with two decimals cut (not rounded): 1,536 KB is "1.50MB".
std::string SizeText(std::int64_t kilobytes);

// "R", "H", "S", "A" for read-only, hidden, system and archive, in this order.
std::string AttributeLetters(std::uint32_t attributes);

// The drive a folder row stands for ("C:\"), from the path box's text and the row's
// caption; empty when there is none.
std::string DriveTextOf(const std::string& pathBoxText, const std::string& caption);

// The sort state every analyzer window shares for the life of the process.
extern int SortColumn;
extern bool SortDescending;

// < 0, 0 or > 0 as entry a goes before, with or after entry b under `column`, before the
// direction is applied: names with letters folded, sizes (folders 0), type texts with
// letters folded, modification times, attribute letters.
int CompareEntries(const TShellItem& a, const TShellItem& b, int column);

// The first entry from `start` on (wrapping to the top when `wrap`) whose name begins
// with `text`, letters folded; -1 when none does before the search comes back to `start`.
int FindEntryByPrefix(const std::vector<TShellItem>& items, const std::string& text, int start, bool wrap);
