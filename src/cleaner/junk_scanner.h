#pragma once
// The junk scan: what it finds (one row per junk file, zero-byte file or empty folder),
// the reduction of a junk-file pattern to the key a file name is searched for, and the
// scanner that walks the folders and hands its findings to a sink (the cleaning window).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "analyzer/size_engine.h"
#include "platform/file_system.h"

class TSetting;

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

// Where the scanner's findings and progress go. The scanner owns no rows: the window
// keeps them (it sorts and deletes them between scans).
class JunkScanSink {
public:
    // A place in the rows, valid while nothing else moved them.
    struct Place {
        std::size_t index = 0;
        unsigned epoch = 0;
    };

    // Where a row added now would go.
    virtual Place NextPlace() const = 0;
    // A junk or zero-byte file, at the end of the rows, scrolled into view.
    virtual void AddFound(TJunkRow row) = 0;
    // An empty folder: at `place` (before the rows found inside it) when nothing moved the
    // rows since, else at the end.
    virtual void AddEmptyFolder(TJunkRow row, Place place) = 0;
    // The scan began listing `folder` ("C:\dir\").
    virtual void EnteredFolder(const std::string& folder) = 0;
    // The counters of junk files changed.
    virtual void CountsChanged() = 0;
    // A file entry was looked at.
    virtual void ScannedFile(std::string_view name) = 0;
    // Lets the window process its messages once its time slice is over (or always); a
    // stop pressed meanwhile clears the scanner's Running flag.
    virtual void Pump(bool always = false) = 0;

protected:
    ~JunkScanSink() = default;
};

class TJunkScanner {
public:
    explicit TJunkScanner(JunkScanSink& sink) : sink_(sink) {}

    // What one scan compares with, worked out once instead of per entry.
    struct Plan {
        std::vector<std::string> keys;           // keys of the active patterns, in order
        std::unordered_set<std::string> ignored; // the ignore list, upper case
        bool zeroFiles = false, emptyFolders = false;
    };
    static Plan MakePlan(const TSetting& settings, const std::vector<std::string>& ignoreList);

    // Walks `folder` (and below it with `descend`) by `plan`, counting as it goes; stops at
    // the next entry once Running is false. The size engine's workers list the folders
    // ahead of it; what it finds, and in which order, is what one thread finds.
    void Scan(const std::string& folder, const Plan& plan, bool descend);

    // The counters and the stop flag.
    std::int64_t ScanCount = 0;
    std::int64_t JunkCount = 0;
    std::int64_t JunkSize = 0;
    bool Running = false;

    // How many entries the workers may have listed ahead of the scan: the bound on its
    // memory, whatever the size of the tree (a message box left open mid-scan included).
    std::size_t ListedAhead = 4096;

private:
    // What a walk of a folder found out about it: whether any file lies below it.
    enum class Content { Files, NoFile, Unknown /* stopped before the end */ };
    struct Walk;
    Content ScanIn(Walk& walk, TreeListing::Node& node, bool descend);
    void AddEmptyFolderRow(const std::string& path, platform::FileTime created, platform::FileTime written,
                           platform::FileTime accessed, JunkScanSink::Place place);

    JunkScanSink& sink_;
};
