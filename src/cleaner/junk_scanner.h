#pragma once
// What the junk scan finds: one row per junk file, zero-byte file or empty folder, and the
// reduction of a junk-file pattern to the key a file name is searched for.
#include <cstdint>
#include <string>

#include "platform/file_system.h"

// Why a row was listed; the deletion checks the same rule again before it deletes.
enum class TJunkKind : std::uint8_t {
    JunkFile,    // its name matched an active pattern
    ZeroFile,    // a file of no bytes
    EmptyFolder, // a folder that holds no file at any depth
};

// One row of the result list. Texts other than the caption are made when the row is
// shown, so a scan that lists tens of thousands of rows keeps only what it must.
struct TJunkRow {
    std::string caption; // full path; a folder's ends with "<Dir>"
    std::int64_t size = 0;
    platform::FileTime created = 0, written = 0, accessed = 0;
    TJunkKind kind = TJunkKind::JunkFile;
    bool checked = true;
};

inline constexpr const char* kDirMark = "<Dir>";

// The pattern without "?", without a leading "*", cut at any later "*": "*.TMP" -> ".TMP",
// "~*.*" -> "~", "*" -> "" (which matches nothing).
std::string PatternKey(const std::string& pattern);

// The area the system's bulk rules keep to: a path that names "SETTINGS" or "WINDOWS"
// (in upper case; the caller folds). The pattern test lists only files inside it, and the
// deletion of what was listed leaves it alone.
bool NamesSettingsOrWindows(const std::string& upperPath);

// The texts of a row's columns 1 to 4: "1234Byte" and three dates month/day/year.
std::string RowSizeText(const TJunkRow& row);
std::string RowDateText(platform::FileTime time);
