// The junk scan: walks folders and lists what it judges to be junk.
#include "cleaner/junk_scanner.h"

#include <algorithm>

#include "common/ascii_text.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/folder_sizes.h"
#include "settings/setting.h"

bool NamesSettingsOrWindows(const std::string& upperPath) {
    return Contains(upperPath, "SETTINGS") || Contains(upperPath, "WINDOWS");
}

std::string PatternKey(const std::string& pattern) {
    std::string key;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '?')
            continue;
        if (c == '*') {
            if (i == 0)
                continue;
            break;
        }
        key += c;
    }
    return key;
}

std::string RowSizeText(const TJunkRow& row) { return std::to_string(row.size) + "Byte"; }

std::string RowDateText(platform::FileTime time) { return FormatDateTime("m/d/yyyy", FileTimeToLocalDateTime(time)); }

TJunkScanner::Plan TJunkScanner::MakePlan(const TSetting& settings, const std::vector<std::string>& ignoreList) {
    Plan plan;
    for (const TGarbage& g : settings.Garbages) {
        std::string key = PatternKey(g.GarbageName);
        if (g.Ifclean && !key.empty())
            plan.keys.push_back(std::move(key));
    }
    for (const std::string& line : ignoreList)
        plan.ignored.insert(AsciiUpper(line));
    plan.zeroFiles = settings.IfCleanZeroFile;
    plan.emptyFolders = settings.IfCleanZeroDir;
    return plan;
}

void TJunkScanner::Scan(const std::string& folder, const Plan& plan, bool descend) {
    plan_ = plan;
    ScanIn(folder, descend);
}

bool TJunkScanner::JunkKeyIn(const std::string& upperName) const {
    for (const std::string& key : plan_.keys)
        if (upperName.find(key) != std::string::npos)
            return true;
    return false;
}

TJunkScanner::Content TJunkScanner::ScanIn(const std::string& folder, bool descend) {
    auto& files = platform::files();
    std::string d = folder;
    if (d.empty() || d.back() != '\\')
        d += '\\';
    // Sizes are needed for every file only when zero-byte files are asked for; otherwise
    // the few rows found look their entries up.
    auto detail = plan_.zeroFiles ? platform::ListDetail::Full : platform::ListDetail::Names;
    // Taken whole before the walk goes deeper, so no folder stays open below this one.
    std::vector<platform::DirEntry> entries;
    bool listed = files.listFolder(d, detail, [&](const platform::DirEntry& e) {
        if (!e.isDots())
            entries.push_back(e);
        return true;
    });
    if (!listed)
        return Content::Files; // what it holds is not known: never an empty folder
    sink_.EnteredFolder(d);
    const std::string upperFolder = AsciiUpper(d);
    const bool folderInArea = NamesSettingsOrWindows(upperFolder);

    bool noFile = true;
    platform::DirEntry found;
    for (const platform::DirEntry& e : entries) {
        sink_.Pump();
        if (!Running)
            return Content::Unknown;
        std::string path = d + e.name;
        if (e.isDirectory()) {
            ++ScanCount;
            // A link or a mount point leads out of the tree (or round in a loop): counted,
            // never entered and never listed, and content of the folder it lies in.
            if (e.isReparsePoint()) {
                noFile = false;
                continue;
            }
            if (!descend) {
                if (plan_.emptyFolders && FolderHoldsNoFile(path))
                    AddEmptyFolderRow(path, e, sink_.NextPlace());
                continue;
            }
            // The walk below tells whether the folder holds a file, so it is not walked
            // twice; its row goes before the rows found inside it.
            JunkScanSink::Place place = sink_.NextPlace();
            Content below = ScanIn(path, true);
            if (below == Content::Unknown && plan_.emptyFolders)
                below = FolderHoldsNoFile(path) ? Content::NoFile : Content::Files;
            if (below == Content::NoFile && plan_.emptyFolders)
                AddEmptyFolderRow(path, e, place);
            noFile = noFile && below == Content::NoFile;
            continue;
        }
        noFile = false;
        if (!e.isReparsePoint()) {
            if (plan_.zeroFiles && e.size == 0) {
                sink_.AddFound({path, 0, e.creationTime, e.lastWriteTime, e.lastAccessTime, TJunkKind::ZeroFile, true});
                sink_.Pump();
            }
            if (!plan_.keys.empty()) {
                std::string upperName = AsciiUpper(e.name);
                if ((folderInArea || NamesSettingsOrWindows(upperName)) && !plan_.ignored.count(upperName) &&
                    JunkKeyIn(upperName)) {
                    const platform::DirEntry* info = &e;
                    if (detail == platform::ListDetail::Full || files.findEntry(path, found)) {
                        if (detail == platform::ListDetail::Names)
                            info = &found;
                        auto size = static_cast<std::int64_t>(info->size);
                        sink_.AddFound({path, size, info->creationTime, info->lastWriteTime, info->lastAccessTime,
                                        TJunkKind::JunkFile, true});
                        ++JunkCount;
                        JunkSize += size;
                        sink_.CountsChanged();
                        sink_.Pump();
                    }
                }
            }
        }
        ++ScanCount;
        sink_.ScannedFile(e.name);
    }
    return noFile ? Content::NoFile : Content::Files;
}

void TJunkScanner::AddEmptyFolderRow(const std::string& path, const platform::DirEntry& entry,
                                     JunkScanSink::Place place) {
    const platform::DirEntry* info = &entry;
    platform::DirEntry found;
    if (entry.creationTime == 0 && platform::files().findEntry(path, found))
        info = &found; // a names-only listing has no dates
    sink_.AddEmptyFolder({path + kDirMark, 0, info->creationTime, info->lastWriteTime, info->lastAccessTime,
                          TJunkKind::EmptyFolder, true},
                         place);
    ++JunkCount;
    sink_.Pump();
}
