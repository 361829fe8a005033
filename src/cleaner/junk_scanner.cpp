// The junk scan: walks the directories of the settings and lists what it judges to be junk.
#include "cleaner/junk_scanner.h"

#include <algorithm>

#include "cleaner/cleaning_window.h"
#include "common/ascii_text.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/folder_sizes.h"
#include "toolkit/toolkit.h"

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

TfrmCleaning::ScanPlan TfrmCleaning::MakePlan(const TSetting& settings) const {
    ScanPlan plan;
    for (const TGarbage& g : settings.Garbages) {
        std::string key = PatternKey(g.GarbageName);
        if (g.Ifclean && !key.empty())
            plan.keys.push_back(std::move(key));
    }
    for (const std::string& line : mIgnoreList.lines())
        plan.ignored.insert(AsciiUpper(line));
    plan.zeroFiles = settings.IfCleanZeroFile;
    plan.emptyFolders = settings.IfCleanZeroDir;
    return plan;
}

void TfrmCleaning::ScanAll(TSetting* settings) {
    if (!settings)
        return;
    auto& tk = toolkit::Toolkit::current();
    ScanCount = JunkCount = JunkSize = 0;
    rows_.clear();
    ++rowsEpoch_;
    movedFrom_ = SIZE_MAX;
    Lv_GarbageList.setItemCount(0);
    Lv_GarbageList.clearSelection();
    scrollPending_ = false;
    Pump(true);

    // By position: a handler run inside the scan may replace the list (a chosen folder).
    for (int i = 0; i < settings->Directorys.Count(); ++i) {
        TDirectory dir = settings->Directorys[i];
        if (!dir.IfClean)
            continue;
        lCleanupDir.setText("[" + dir.Path + "]");
        ScanFolder(dir.Path, *settings, dir.IncludeSubDir);
    }

    FlushView();
    Pb_Process.setPosition(100);
    std::string scanned = std::to_string(ScanCount), found = std::to_string(JunkCount), size = std::to_string(JunkSize);
    Sb_status.setPanelText(1, "[扫描分析文件]: " + scanned + "  [发现垃圾文件]: " + found + "  [垃圾占用空间]: " + size +
                                  " Byte");
    if (!cbAutoClose.checked())
        tk.messageBox("   本次磁盘扫描完成 !!!\n\r-----------------\n\r [共分析文件数量]: " + scanned +
                          "  \n\r [发现垃圾文件数量]: " + found + " \n\r [垃圾文件空间占用]: " + size + " 字节",
                      tk.applicationTitle(), toolkit::MB_OK);
    tk.setCursor(toolkit::Cursor::Default);
}

void TfrmCleaning::ScanFolder(const std::string& folder, const TSetting& settings, bool descend) {
    plan_ = MakePlan(settings);
    ScanIn(folder, descend);
    FlushView();
}

bool TfrmCleaning::JunkKeyIn(const std::string& upperName) const {
    for (const std::string& key : plan_.keys)
        if (upperName.find(key) != std::string::npos)
            return true;
    return false;
}

TfrmCleaning::Content TfrmCleaning::ScanIn(const std::string& folder, bool descend) {
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
    scanningFolder_ = d;
    captionPending_ = true;
    const std::string upperFolder = AsciiUpper(d);
    const bool folderInArea = NamesSettingsOrWindows(upperFolder);

    bool noFile = true;
    platform::DirEntry found;
    for (const platform::DirEntry& e : entries) {
        Pump();
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
                    AddEmptyFolderRow(path, e, rows_.size(), rowsEpoch_);
                continue;
            }
            // The walk below tells whether the folder holds a file, so it is not walked
            // twice; its row goes before the rows found inside it.
            size_t at = rows_.size();
            unsigned epoch = rowsEpoch_;
            Content below = ScanIn(path, true);
            if (below == Content::Unknown && plan_.emptyFolders)
                below = FolderHoldsNoFile(path) ? Content::NoFile : Content::Files;
            if (below == Content::NoFile && plan_.emptyFolders)
                AddEmptyFolderRow(path, e, at, epoch);
            noFile = noFile && below == Content::NoFile;
            continue;
        }
        noFile = false;
        if (!e.isReparsePoint()) {
            if (plan_.zeroFiles && e.size == 0) {
                AddRow({path, 0, e.creationTime, e.lastWriteTime, e.lastAccessTime, TJunkKind::ZeroFile, true}, true);
                Pump();
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
                        AddRow({path, size, info->creationTime, info->lastWriteTime, info->lastAccessTime,
                                TJunkKind::JunkFile, true},
                               true);
                        ++JunkCount;
                        JunkSize += size;
                        countsPending_ = true;
                        Pump();
                    }
                }
            }
        }
        progress_ = (progress_ + 1) % 100;
        ++ScanCount;
        scanningName_ = e.name;
        statusPending_ = true;
    }
    return noFile ? Content::NoFile : Content::Files;
}

void TfrmCleaning::AddEmptyFolderRow(const std::string& path, const platform::DirEntry& entry, size_t at,
                                     unsigned epoch) {
    const platform::DirEntry* info = &entry;
    platform::DirEntry found;
    if (entry.creationTime == 0 && platform::files().findEntry(path, found))
        info = &found; // a names-only listing has no dates
    TJunkRow row{path + kDirMark, 0, info->creationTime, info->lastWriteTime, info->lastAccessTime,
                 TJunkKind::EmptyFolder, true};
    if (epoch != rowsEpoch_ || at >= rows_.size()) {
        AddRow(std::move(row), false);
    } else {
        rows_.insert(rows_.begin() + std::ptrdiff_t(at), std::move(row));
        movedFrom_ = std::min(movedFrom_, at);
    }
    ++JunkCount;
    Pump();
}

void TfrmCleaning::AddRow(TJunkRow row, bool scroll) {
    rows_.push_back(std::move(row));
    scrollPending_ = scrollPending_ || scroll;
}

void TfrmCleaning::Pump(bool always) {
    auto now = std::chrono::steady_clock::now();
    if (!always && PumpSliceMs > 0 && now - lastPump_ < std::chrono::milliseconds(PumpSliceMs))
        return;
    FlushView();
    toolkit::Toolkit::current().processMessages();
    lastPump_ = std::chrono::steady_clock::now();
    // A handler run just now may have moved the bar (the deletion uses it too).
    progress_ = Pb_Process.position();
}

void TfrmCleaning::FlushView() {
    int shown = Lv_GarbageList.count();
    if (shown != int(rows_.size()))
        Lv_GarbageList.setItemCount(int(rows_.size()));
    // Rows the view already had that moved down behind an inserted one.
    for (size_t i = movedFrom_; i < size_t(shown) && i < rows_.size(); ++i)
        Lv_GarbageList.rowChanged(int(i));
    movedFrom_ = SIZE_MAX;
    if (scrollPending_) {
        scrollPending_ = false;
        if (!rows_.empty())
            Lv_GarbageList.makeVisible(int(rows_.size()) - 1);
    }
    if (statusPending_) {
        statusPending_ = false;
        Sb_status.setPanelText(0, "Scanning File [ " + scanningName_ + " ] ");
    }
    if (countsPending_) {
        countsPending_ = false;
        Sb_status.setPanelText(1, "[Scan File]: " + std::to_string(ScanCount) + "  [Junker Number]: " +
                                      std::to_string(JunkCount) + "  [Size]: " + std::to_string(JunkSize) + " Byte");
    }
    if (progress_ != Pb_Process.position())
        Pb_Process.setPosition(progress_);
    if (captionPending_) {
        captionPending_ = false;
        setCaption("Varnholt  ---  Is Scanning Direcotry [" + scanningFolder_ + "]  ");
    }
}
