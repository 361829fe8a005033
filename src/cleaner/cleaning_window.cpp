#include "cleaner/cleaning_window.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numeric>

#include "app/directory_dialog.h"
#include "app/window_helpers.h"
#include "common/ascii_text.h"
#include "common/sort_keys.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/folder_sizes.h"
#include "settings/settings_files.h"
#include "toolkit/toolkit.h"

TfrmCleaning* frmCleaning = nullptr;

int TfrmCleaning::SortColumn = 0;
bool TfrmCleaning::SortDescending = true;

namespace {

const char* const kScanIdle = "开始清理 (&S)";
const char* const kScanBusy = "暂停 (&P) ||";

// The path a row stands for: its caption, cut at "<Dir>" for a folder.
std::string rowPath(const std::string& caption, bool& isFolder) {
    size_t mark = caption.find(kDirMark);
    isFolder = mark != std::string::npos;
    return isFolder ? caption.substr(0, mark) : caption;
}

// The number a column sorts by, besides the caption: the size, or the day of a date (the
// cells show no time of day, so rows of one day are equal).
double sortKey(const TJunkRow& row, int column) {
    switch (column) {
    case 1: return std::stod(LeadingDigits(RowSizeText(row)));
    case 2: return std::floor(FileTimeToLocalDateTime(row.created));
    case 3: return std::floor(FileTimeToLocalDateTime(row.written));
    case 4: return std::floor(FileTimeToLocalDateTime(row.accessed));
    default: return 0;
    }
}

// The comparison of two rows under `column`, from their captions and sort keys.
int compareRows(const std::string& captionA, const std::string& captionB, double keyA, double keyB, int column,
                bool descending) {
    int cmp = column == 0 ? CompareText(captionA, captionB) : SignOf(keyA - keyB);
    return descending ? -cmp : cmp;
}

} // namespace

TfrmCleaning::TfrmCleaning()
    : Form("TfrmCleaning"), Label1(this, "Label1"), Label3(this, "Label3"), lCleanupDir(this, "lCleanupDir"),
      btnAddCleanDir(this, "btnAddCleanDir"), Lv_GarbageList(this, "Lv_GarbageList"), Sb_status(this, "Sb_status"),
      Pb_Process(this, "Pb_Process"), Btn_Scan(this, "Btn_Scan"), Btn_CleanAll(this, "Btn_CleanAll"),
      cbAutoClose(this, "cbAutoClose"), RzBitBtn1(this, "RzBitBtn1"), mIgnoreList(this, "mIgnoreList"),
      Timer1(this, "Timer1"), PM_FileOper(this, "PM_FileOper"), Open1(this, "Open1"),
      Explorerthedirectory1(this, "Explorerthedirectory1"), DeleteD1(this, "DeleteD1"), Attribute1(this, "Attribute1") {
    setCaption("磁盘垃圾文件清理");
    borderStyle = toolkit::BorderStyle::Sizeable;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(640, 480);

    Label1.setCaption("友情提示：清理一个长期未整理过的磁盘，将会需要一个较长的时间，可以去喝杯咖啡，稍等一下哟");
    Label1.setBounds(8, 8, 624, 20);
    Label3.setCaption("清理磁盘目录 :");
    Label3.setBounds(8, 36, 90, 20);
    lCleanupDir.setText("c:\\");
    lCleanupDir.setReadOnly(true);
    lCleanupDir.setBounds(100, 34, 330, 22);
    btnAddCleanDir.setCaption("选择需要清理的磁盘目录");
    btnAddCleanDir.setBounds(440, 32, 192, 26);

    Lv_GarbageList.setColumns({{"文件名称", 260}, {"文件大小", 90, toolkit::Alignment::Right},
                               {"创建日期", 85}, {"最后修改日期", 85}, {"最后读取日期", 85}});
    Lv_GarbageList.setViewStyle(toolkit::ViewStyle::Report);
    Lv_GarbageList.setCheckBoxes(true);
    Lv_GarbageList.setRowSelect(true);
    Lv_GarbageList.setGridLines(true);
    Lv_GarbageList.setReadOnly(true);
    Lv_GarbageList.setOwnerData(true);
    Lv_GarbageList.popupMenu = &PM_FileOper;
    Lv_GarbageList.setBounds(8, 64, 624, 300);

    Sb_status.setPanels({{"正在磁盘文件分析和清理中 ......", 300}, {"", 324}});
    Sb_status.setBounds(0, 456, 640, 24);
    Pb_Process.setRange(0, 100);
    Pb_Process.setPosition(0);
    Pb_Process.setBounds(8, 372, 624, 18);

    Btn_Scan.setCaption(kScanIdle);
    Btn_Scan.setBounds(8, 408, 130, 30);
    Btn_CleanAll.setCaption("删除垃圾文件 (&C)");
    Btn_CleanAll.setBounds(146, 408, 130, 30);
    cbAutoClose.setCaption("完成清理后自动关机");
    cbAutoClose.setBounds(290, 414, 180, 20);
    RzBitBtn1.setCaption("完  成 (&E)");
    RzBitBtn1.setBounds(502, 408, 130, 30);
    mIgnoreList.setVisible(false);
    mIgnoreList.setBounds(0, 0, 0, 0);

    Timer1.setInterval(1000);
    Timer1.setEnabled(false);

    Open1.setCaption("&Open...");
    Explorerthedirectory1.setCaption("&Explorer the directory");
    DeleteD1.setCaption("&Delete");
    Attribute1.setCaption("Attribute");
    PM_FileOper.items = {&Open1, &Explorerthedirectory1, &DeleteD1, &Attribute1};

    onShow = [this] { FormShow(); };
    onClose = [this](toolkit::CloseAction& a) { FormClose(a); };
    Timer1.onTimer = [this] { Timer1Timer(); };
    Btn_Scan.onClick = [this] { Btn_ScanClick(); };
    Btn_CleanAll.onClick = [this] { Btn_CleanAllClick(); };
    btnAddCleanDir.onClick = [this] { btnAddCleanDirClick(); };
    cbAutoClose.onClick = [this] { cbAutoCloseClick(); };
    RzBitBtn1.onClick = [this] { RzBitBtn1Click(); };
    Open1.onClick = [this] { Open1Click(); };
    Explorerthedirectory1.onClick = [this] { Explorerthedirectory1Click(); };
    DeleteD1.onClick = [this] { DeleteD1Click(); };
    Attribute1.onClick = [this] { Attribute1Click(); };
    Lv_GarbageList.onDblClick = [this] { Lv_GarbageListDblClick(); };
    Lv_GarbageList.onColumnClick = [this](int c) { Lv_GarbageListColumnClick(c); };
    Lv_GarbageList.onData = [this](toolkit::ListItem& item) {
        if (item.index < 0 || item.index >= int(rows_.size()))
            return;
        const TJunkRow& row = rows_[size_t(item.index)];
        item.caption = row.caption;
        item.subItems = {RowSizeText(row), RowDateText(row.created), RowDateText(row.written),
                         RowDateText(row.accessed)};
        item.checked = row.checked;
    };
    Lv_GarbageList.onItemChecked = [this](int index, bool checked) {
        if (index >= 0 && index < int(rows_.size()))
            rows_[size_t(index)].checked = checked;
    };
}

TfrmCleaning::~TfrmCleaning() = default;

void TfrmCleaning::FormShow() {
    Running = true;
    cbAutoClose.setChecked(Setting && Setting->AutoCleanShutDown);
    // A missing list is an empty one; a list that cannot be read is reported, and the
    // window opens and scans all the same.
    try {
        mIgnoreList.setLines(LoadLinesFromFile(IgnoreListPath(), MissingFile::Empty));
    } catch (const std::exception& e) {
        mIgnoreList.clear();
        if (auto* tk = toolkit::Toolkit::instance())
            tk->handleException(e);
    }
    Timer1.setEnabled(true);
}

void TfrmCleaning::FormClose(toolkit::CloseAction&) {
    // A window closed within its first second does not scan behind the user's back.
    Timer1.setEnabled(false);
    // Closing stops a running scan as the stop button does; the window goes once it returns.
    if (Btn_Scan.caption() != kScanIdle) {
        Running = false;
        Btn_Scan.setCaption(kScanBusy);
    }
}

void TfrmCleaning::Timer1Timer() {
    Timer1.setEnabled(false);
    toolkit::Toolkit::current().processMessages();
    // Starts the scan unless the user already has: a press now would stop theirs.
    if (Btn_Scan.caption() == kScanIdle)
        Btn_ScanClick();
}

void TfrmCleaning::Btn_ScanClick() {
    if (Btn_Scan.caption() != kScanIdle) {
        // Running inside the scan's message processing: stop it at its next entry.
        Running = false;
        Btn_Scan.setCaption(kScanBusy);
        return;
    }
    toolkit::Toolkit::current().setCursor(toolkit::Cursor::Default);
    Running = true;
    Btn_Scan.setCaption(kScanBusy);
    cbAutoClose.setChecked(false);
    try {
        ScanAll(Setting);
    } catch (...) {
        Btn_Scan.setCaption(kScanIdle);
        throw;
    }
    Btn_Scan.setCaption(kScanIdle);
    if (cbAutoClose.checked())
        ShutdownComputer();
}

void TfrmCleaning::cbAutoCloseClick() {
    if (Setting)
        Setting->AutoCleanShutDown = cbAutoClose.checked();
}

void TfrmCleaning::RzBitBtn1Click() { close(); }

bool TfrmCleaning::StillHolds(const TJunkRow& row, const std::string& path) {
    if (row.kind == TJunkKind::EmptyFolder)
        return FolderHoldsNoFile(path);
    platform::DirEntry e;
    if (!platform::files().findEntry(path, e) || e.isDirectory() || e.isReparsePoint())
        return false;
    return row.kind != TJunkKind::ZeroFile || e.size == 0;
}

void TfrmCleaning::Btn_CleanAllClick() {
    auto& tk = toolkit::Toolkit::current();
    auto& files = platform::files();
    FlushView();
    int n = int(rows_.size());
    Pb_Process.setRange(0, std::max(0, n - 1));
    Pb_Process.setPosition(0);
    tk.setCursor(toolkit::Cursor::Hourglass);

    // Unticked rows leave the list; ticked ones leave it only when their file went.
    struct Kept {
        TJunkRow row;
        bool gone; // not there any more (perhaps inside a folder deleted here)
    };
    std::vector<Kept> kept;
    std::vector<std::string> deletedFolders;
    int deleted = 0, inProtectedArea = 0;
    auto batch = files.beginDeletions();
    for (int i = 0; i < n; ++i) {
        TJunkRow& row = rows_[size_t(i)];
        if (row.checked) {
            bool isFolder;
            std::string path = rowPath(row.caption, isFolder);
            try {
                if (NamesSettingsOrWindows(AsciiUpper(path)) || platform::sys().inSystemArea(path)) {
                    ++inProtectedArea;
                    kept.push_back({std::move(row), false});
                } else if (!StillHolds(row, path)) {
                    // Written to, filled or gone since the scan: not what the user saw.
                    bool gone = !files.exists(path);
                    kept.push_back({std::move(row), gone});
                } else {
                    if (isFolder)
                        DeleteTree(path);
                    else
                        files.deleteFile(path);
                    if (files.exists(path)) {
                        kept.push_back({std::move(row), false});
                    } else {
                        ++deleted;
                        if (isFolder)
                            deletedFolders.push_back(path + "\\");
                    }
                }
            } catch (const std::exception&) {
                Sb_status.setPanelText(0, "删除 [" + row.caption + "] 失败 : " + files.lastErrorText());
                kept.push_back({std::move(row), false});
            }
        }
        Pb_Process.stepBy(1);
    }
    // A row inside a folder that went with its tree went as the user asked.
    std::vector<TJunkRow> left;
    for (Kept& k : kept) {
        bool isFolder;
        std::string path = rowPath(k.row.caption, isFolder);
        bool insideDeleted = k.gone && std::any_of(deletedFolders.begin(), deletedFolders.end(), [&](const std::string& d) {
                                 return path.compare(0, d.size(), d) == 0;
                             });
        if (insideDeleted)
            ++deleted;
        else
            left.push_back(std::move(k.row));
    }
    int notDeleted = int(left.size()) - inProtectedArea;
    rows_ = std::move(left);
    ++rowsEpoch_;
    Lv_GarbageList.clearSelection();
    Lv_GarbageList.setItemCount(int(rows_.size()));
    Lv_GarbageList.invalidate();
    Sb_status.setPanelText(0, "删除完成: 已删除 " + std::to_string(deleted) + " 项, 保留 " +
                                  std::to_string(inProtectedArea + notDeleted) + " 项 (受保护区域 " +
                                  std::to_string(inProtectedArea) + " 项, 无法删除或已改变 " +
                                  std::to_string(notDeleted) + " 项)");
    tk.setCursor(toolkit::Cursor::Default);
}

bool TfrmCleaning::SelectedCaption(std::string& caption) const {
    int i = Lv_GarbageList.itemIndex();
    if (i < 0 || i >= int(rows_.size()))
        return false;
    caption = rows_[size_t(i)].caption;
    return true;
}

void TfrmCleaning::RemoveRow(int index) {
    FlushView();
    rows_.erase(rows_.begin() + index);
    ++rowsEpoch_;
    Lv_GarbageList.clearSelection();
    Lv_GarbageList.setItemCount(int(rows_.size()));
    Lv_GarbageList.invalidate();
}

void TfrmCleaning::DeleteD1Click() {
    std::string caption;
    if (!SelectedCaption(caption))
        return;
    int index = Lv_GarbageList.itemIndex();
    auto& files = platform::files();
    bool ok = false;
    std::string reason;
    try {
        bool isFolder;
        std::string path = rowPath(caption, isFolder);
        if (!isFolder && !StillHolds(rows_[size_t(index)], path) && files.exists(path)) {
            // A file that was empty in the list and holds data now is not what the user saw.
            reason = "扫描后文件已改变";
        } else {
            // A folder goes only when it is empty; a file alone.
            ok = isFolder ? files.removeDirectory(path) : files.deleteFile(path);
            if (!ok)
                reason = files.lastErrorText();
        }
    } catch (const std::exception&) {
        ok = false;
        reason = files.lastErrorText();
    }
    if (ok)
        RemoveRow(index);
    else
        Sb_status.setPanelText(0, "删除 [" + caption + "] 失败 : " + reason);
}

void TfrmCleaning::Open1Click() {
    std::string caption;
    if (SelectedCaption(caption))
        platform::shell().execute({"open", caption, "", 1});
}

void TfrmCleaning::Lv_GarbageListDblClick() { Open1Click(); }

void TfrmCleaning::Explorerthedirectory1Click() {
    std::string caption;
    if (!SelectedCaption(caption))
        return;
    size_t slash = caption.rfind('\\');
    platform::shell().execute({"open", slash == std::string::npos ? caption : caption.substr(0, slash + 1), "", 1});
}

void TfrmCleaning::Attribute1Click() {
    std::string caption;
    if (SelectedCaption(caption))
        platform::shell().execute({"properties", caption, "", 0});
}

int TfrmCleaning::Lv_GarbageListCompare(const TJunkRow& a, const TJunkRow& b) const {
    return compareRows(a.caption, b.caption, sortKey(a, SortColumn), sortKey(b, SortColumn), SortColumn, SortDescending);
}

void TfrmCleaning::Lv_GarbageListColumnClick(int column) {
    FlushView();
    SortColumn = column;
    // Keys worked out once per row: a date takes a conversion to local time.
    std::vector<double> keys(rows_.size());
    if (SortColumn != 0)
        for (size_t i = 0; i < rows_.size(); ++i)
            keys[i] = sortKey(rows_[i], SortColumn);
    std::vector<size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        return compareRows(rows_[x].caption, rows_[y].caption, keys[x], keys[y], SortColumn, SortDescending) < 0;
    });
    std::vector<TJunkRow> sorted;
    sorted.reserve(rows_.size());
    for (size_t i : order)
        sorted.push_back(std::move(rows_[i]));
    rows_ = std::move(sorted);
    ++rowsEpoch_;
    Lv_GarbageList.clearSelection();
    Lv_GarbageList.invalidate();
    SortDescending = !SortDescending;
}

void TfrmCleaning::btnAddCleanDirClick() {
    std::string chosen;
    if (!TDirectoryDialog::Execute(this, "Please select a directory to cleanup: ", lCleanupDir.text(), chosen))
        return;
    lCleanupDir.setText(chosen);
    if (!Setting)
        return;
    // The next scan visits only this folder.
    Setting->Directorys.Clear();
    TDirectory& d = Setting->Directorys.Add();
    d.Path = chosen;
    d.IncludeSubDir = true;
    d.IfClean = true;
}

// --- the scan, shown as it goes ---

void TfrmCleaning::ScanAll(TSetting* settings) {
    if (!settings)
        return;
    auto& tk = toolkit::Toolkit::current();
    ScanCount = JunkCount = JunkSize = 0;
    rows_.clear();
    ++rowsEpoch_;
    Lv_GarbageList.setItemCount(0);
    Lv_GarbageList.clearSelection();
    scrollPending_ = false;
    // A deletion leaves the bar on its own range: each scan starts on the scan's.
    progress_ = 0;
    progressPending_ = false;
    Pb_Process.setRange(0, kScanRange);
    Pb_Process.setPosition(0);
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
    Pb_Process.setPosition(kScanRange);
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
    Scanner.Scan(folder, TJunkScanner::MakePlan(settings, mIgnoreList.lines()), descend);
    FlushView();
}

JunkScanSink::Place TfrmCleaning::NextPlace() const { return {rows_.size(), rowsEpoch_}; }

void TfrmCleaning::AddFound(TJunkRow row) { AddRow(std::move(row), true); }

void TfrmCleaning::AddEmptyFolder(TJunkRow row, Place place) {
    if (place.epoch != rowsEpoch_ || place.index >= rows_.size()) {
        AddRow(std::move(row), false);
    } else {
        rows_.insert(rows_.begin() + std::ptrdiff_t(place.index), std::move(row));
        // Above rows the list shows already: the selection stays on the finding it was on.
        if (int(place.index) < Lv_GarbageList.count())
            Lv_GarbageList.insertRows(int(place.index));
    }
}

void TfrmCleaning::EnteredFolder(const std::string& folder) {
    scanningFolder_ = folder;
    captionPending_ = true;
}

void TfrmCleaning::CountsChanged() { countsPending_ = true; }

void TfrmCleaning::ScannedFile(std::string_view name) {
    progress_ = (progress_ + 1) % kScanRange;
    progressPending_ = true;
    scanningName_ = name;
    statusPending_ = true;
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
}

void TfrmCleaning::FlushView() {
    if (Lv_GarbageList.count() != int(rows_.size()))
        Lv_GarbageList.setItemCount(int(rows_.size()));
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
    // Only the walk moves the bar here: after the scan it stays full whatever flushes later.
    if (progressPending_) {
        progressPending_ = false;
        // A deletion run inside the scan took the bar for its own range; the scan takes it back.
        if (Pb_Process.min() != 0 || Pb_Process.max() != kScanRange)
            Pb_Process.setRange(0, kScanRange);
        Pb_Process.setPosition(progress_);
    }
    if (captionPending_) {
        captionPending_ = false;
        setCaption("Varnholt  ---  Is Scanning Direcotry [" + scanningFolder_ + "]  ");
    }
}
