#include "options/option_window.h"

#include <cstdio>
#include <exception>
#include <set>
#include <vector>

#include "common/ascii_text.h"
#include "common/size_units.h"
#include "options/filter_editor.h"
#include "services/disk.h"
#include "services/folder_sizes.h"
#include "settings/settings_files.h"
#include "toolkit/toolkit.h"
#include "wipe/wipe_window.h"

TfrmOption* frmOption = nullptr;

namespace {

// Whole megabytes of a byte count, rounded towards zero ("cannot say", -1, gives 0).
std::string wholeMegabytes(std::int64_t bytes) { return std::to_string(bytes / 1048576) + "M"; }

// The shortest plain decimal form of a size already cut to three decimals: 12.345, 1.5, 0.
std::string plainDecimal(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    std::string s = buf;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

bool blank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

// The application's cursor while it lives, the default one afterwards, also after an error.
class HourglassCursor {
public:
    HourglassCursor() { toolkit::Toolkit::current().setCursor(toolkit::Cursor::Hourglass); }
    ~HourglassCursor() {
        if (auto* tk = toolkit::Toolkit::instance())
            tk->setCursor(toolkit::Cursor::Default);
    }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

} // namespace

const std::array<TfrmOption::SwitchSpec, TfrmOption::SwitchCount>& TfrmOption::Switches() {
    static const std::array<SwitchSpec, SwitchCount> rows = {{
        {"自动升级", &TSetting::AutoUpdate},
        {"启动时显示“每日技巧”", &TSetting::ShowTips},
        {"图表最小块百分比", nullptr},
        {"显示图表", &TSetting::IfShowChart},
        {"扫描时包含子目录", &TSetting::IfIncludeDir},
        {"清理空目录", &TSetting::IfCleanZeroDir},
        {"清理0字节文件", &TSetting::IfCleanZeroFile},
        {"清理完成后关机", &TSetting::AutoCleanShutDown},
        {"扫描完自动清除垃圾", &TSetting::AutoClean},
    }};
    return rows;
}

std::string TfrmOption::DriveTypeName(int type) {
    static const char* const names[] = {"未知", "目录", "可移动硬盘", "固定硬盘", "网络", "光驱", "虚拟磁盘"};
    return type >= 0 && type <= 6 ? names[type] : names[0];
}

TfrmOption::TfrmOption()
    : Form("TfrmOption"), Pc_Project(this, "Pc_Project"), Ts_CleanSys(this, "Ts_CleanSys"),
      Ts_FileType(this, "Ts_FileType"), Ts_CleanDirectory(this, "Ts_CleanDirectory"), tsOption(this, "tsOption"),
      tsIgnore(this, "tsIgnore"), clCleanOption(this, "clCleanOption"), Lv_GarbageList(this, "Lv_GarbageList"),
      cbSelectAll(this, "cbSelectAll"), btnDelFilter(this, "btnDelFilter"), btnAddFilter(this, "btnAddFilter"),
      Lv_DirList(this, "Lv_DirList"), Cb_IfSubDir(this, "Cb_IfSubDir"), btnDelCleanDir(this, "btnDelCleanDir"),
      btnAddCleanDir(this, "btnAddCleanDir"), Inspect(this, "Inspect"), lbIgnoreList(this, "lbIgnoreList"),
      btnDelList(this, "btnDelList"), btnAdd(this, "btnAdd"), RzButton6(this, "RzButton6"),
      RzButton1(this, "RzButton1") {
    setCaption("高级选项");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(560, 450);

    Pc_Project.setBounds(8, 8, 544, 386);
    Ts_CleanSys.setCaption("上网隐私及安全项");
    Ts_FileType.setCaption("垃圾文件类型");
    Ts_CleanDirectory.setCaption("清理目录");
    tsOption.setCaption("参数");
    tsIgnore.setCaption("需要保护的文件");
    for (toolkit::TabSheet* s : {&Ts_CleanSys, &Ts_FileType, &Ts_CleanDirectory, &tsOption, &tsIgnore})
        Pc_Project.addPage(*s);
    auto on = [](toolkit::Control& c, toolkit::TabSheet& page, int l, int t, int w, int h) {
        c.setParentName(page.name());
        c.setBounds(l, t, w, h);
    };

    auto captions = TfrmWipe::ItemCaptions();
    clCleanOption.setItems(std::vector<std::string>(captions.begin(), captions.end()));
    on(clCleanOption, Ts_CleanSys, 8, 8, 528, 346);

    Lv_GarbageList.setColumns({{"是否删除", 70}, {"文件类型", 150}, {"说明", 300}});
    Lv_GarbageList.setViewStyle(toolkit::ViewStyle::Report);
    Lv_GarbageList.setCheckBoxes(true);
    Lv_GarbageList.setGridLines(true);
    Lv_GarbageList.setRowSelect(true);
    Lv_GarbageList.setMultiSelect(true);
    Lv_GarbageList.setReadOnly(true);
    on(Lv_GarbageList, Ts_FileType, 8, 8, 528, 300);
    cbSelectAll.setCaption("选择/反选 全部");
    on(cbSelectAll, Ts_FileType, 8, 322, 200, 24);
    btnDelFilter.setCaption("删除 (&D)");
    on(btnDelFilter, Ts_FileType, 262, 318, 110, 32);
    btnAddFilter.setCaption("增加垃圾文件 (&A)");
    on(btnAddFilter, Ts_FileType, 380, 318, 156, 32);

    Lv_DirList.setColumns({{"目录名称", 200}, {"磁盘空间", 100, toolkit::Alignment::Right},
                           {"可用空间", 100, toolkit::Alignment::Right}, {"类型说明", 110}});
    Lv_DirList.setViewStyle(toolkit::ViewStyle::Report);
    Lv_DirList.setRowSelect(true);
    Lv_DirList.setReadOnly(true);
    on(Lv_DirList, Ts_CleanDirectory, 8, 8, 528, 300);
    Cb_IfSubDir.setCaption("包括清理子目录");
    Cb_IfSubDir.setChecked(true);
    on(Cb_IfSubDir, Ts_CleanDirectory, 8, 322, 200, 24);
    btnDelCleanDir.setCaption("删除 (&D)");
    on(btnDelCleanDir, Ts_CleanDirectory, 262, 318, 110, 32);
    btnAddCleanDir.setCaption("增加清理目录 (&A)");
    on(btnAddCleanDir, Ts_CleanDirectory, 380, 318, 156, 32);

    Inspect.setTitles("参数名称", "参数值");
    on(Inspect, tsOption, 8, 8, 528, 346);

    lbIgnoreList.setViewStyle(toolkit::ViewStyle::List);
    lbIgnoreList.setColumns({{"", 520}});
    lbIgnoreList.setRowSelect(true);
    lbIgnoreList.setMultiSelect(true);
    lbIgnoreList.setReadOnly(true);
    on(lbIgnoreList, tsIgnore, 8, 8, 528, 300);
    btnDelList.setCaption("Delete");
    on(btnDelList, tsIgnore, 262, 318, 110, 32);
    btnAdd.setCaption("&Add Ignore File");
    on(btnAdd, tsIgnore, 380, 318, 156, 32);

    RzButton6.setCaption("确  定 (&O)");
    RzButton6.setBounds(324, 404, 110, 34);
    RzButton1.setCaption("取  消 (&C)");
    RzButton1.setBounds(442, 404, 110, 34);

    onShow = [this] { FormShow(); };
    onClose = [this](toolkit::CloseAction& a) { FormClose(a); };
    clCleanOption.onChange = [this](int index, toolkit::CheckState state) { clCleanOptionChange(index, state); };
    cbSelectAll.onClick = [this] { cbSelectAllClick(); };
    btnAddFilter.onClick = [this] { btnAddFilterClick(); };
    btnDelFilter.onClick = [this] { btnDelFilterClick(); };
    btnAddCleanDir.onClick = [this] { btnAddCleanDirClick(); };
    btnDelCleanDir.onClick = [this] { btnDelCleanDirClick(); };
    Cb_IfSubDir.onClick = [this] { Cb_IfSubDirClick(); };
    btnAdd.onClick = [this] { btnAdd2Click(); };
    btnDelList.onClick = [this] { btnDelListClick(); };
    RzButton6.onClick = [this] { RzButton6Click(); };
    RzButton1.onClick = [this] { RzButton1Click(); };
}

// --- showing ---

void TfrmOption::FormShow() {
    Pc_Project.setActivePageIndex(0);
    Cb_IfSubDir.setChecked(true);
    FillDrives();
    FillIgnoreList();
    FillPatterns();
    FillPrivacyItems();
    FillSwitches();
}

void TfrmOption::FillDrives() {
    Lv_DirList.clear();
    // A table of this window's own, read now: a table another window holds stays as it is.
    TDisk disk;
    for (int i = 0; i < disk.Count; ++i) {
        std::string root = disk.DriveName(i);
        if (root.empty())
            continue;
        TDriveRecord r = disk.DriveInfo(AsciiUpper(root[0]) - 'A' + 1);
        toolkit::ListItem row;
        row.caption = root;
        row.subItems = {wholeMegabytes(r.DriveSize), wholeMegabytes(r.DriveFree), DriveTypeName(r.DriveType)};
        Lv_DirList.addItem(std::move(row));
    }
}

void TfrmOption::FillIgnoreList() {
    lbIgnoreList.clear();
    ignoreListUnread_ = false;
    std::vector<std::string> lines;
    try {
        lines = LoadLinesFromFile(IgnoreListPath(), MissingFile::Empty);
    } catch (const std::exception& e) {
        // Shown, and the list is left alone on disk: writing the empty list over it would
        // lose every entry the user could not see.
        ignoreListUnread_ = true;
        if (auto* tk = toolkit::Toolkit::instance())
            tk->handleException(e);
    }
    for (const std::string& l : lines) {
        toolkit::ListItem row;
        row.caption = l;
        lbIgnoreList.addItem(std::move(row));
    }
    btnAdd.setEnabled(!ignoreListUnread_);
    btnDelList.setEnabled(!ignoreListUnread_);
}

void TfrmOption::FillPatterns() {
    Lv_GarbageList.clear();
    if (!Setting)
        return;
    for (const TGarbage& g : Setting->Garbages) {
        toolkit::ListItem row;
        row.checked = g.Ifclean;
        row.subItems = {g.GarbageName, g.Memo};
        Lv_GarbageList.addItem(std::move(row));
    }
}

void TfrmOption::FillPrivacyItems() {
    // States set from code raise no change event: showing the window changes no setting.
    for (int i = 0; i < clCleanOption.count(); ++i)
        clCleanOption.setChecked(i, false);
    if (!Setting)
        return;
    auto props = TfrmWipe::ItemProperties();
    for (int i = 0; i < TfrmWipe::ItemCount; ++i)
        if (Setting->*props[std::size_t(i)])
            clCleanOption.setChecked(i, true);
}

void TfrmOption::FillSwitches() {
    Inspect.clear();
    for (int i = 0; i < SwitchCount; ++i) {
        const SwitchSpec& s = Switches()[std::size_t(i)];
        if (s.flag)
            Inspect.addBoolean(s.caption, Setting && Setting->*s.flag);
        else
            // A percentage: the row holds 0 to 100 whatever the file held.
            Inspect.addInteger(s.caption, Setting ? Setting->SlicePercent : 10, 0, 100);
    }
}

// --- the tabs ---

void TfrmOption::clCleanOptionChange(int index, toolkit::CheckState state) {
    if (index < 0 || index >= TfrmWipe::ItemCount || !Setting)
        return;
    Setting->*TfrmWipe::ItemProperties()[std::size_t(index)] = state == toolkit::CheckState::Checked;
}

void TfrmOption::cbSelectAllClick() {
    bool on = cbSelectAll.checked();
    for (int i = 0; i < Lv_GarbageList.count(); ++i)
        Lv_GarbageList.setChecked(i, on);
}

void TfrmOption::btnAddFilterClick() {
    TFilterAnswer a = AskFilter();
    if (!a.Accepted)
        return;
    toolkit::ListItem row;
    row.checked = false;
    row.subItems = {a.FilterName, a.FilterMemo};
    Lv_GarbageList.addItem(std::move(row));
}

void TfrmOption::btnDelFilterClick() {
    const std::set<int>& selected = Lv_GarbageList.selection();
    if (selected.empty())
        return;
    Lv_GarbageList.removeItem(*selected.begin());
}

void TfrmOption::btnAddCleanDirClick() {
    std::string chosen;
    if (!DirectoryDialog1.Execute(this, "Please select a directory to cleanup: ", "c:\\", chosen) || chosen.empty())
        return;
    double size;
    {
        HourglassCursor busy;
        size = FolderSizeIn(chosen, suMegabytes);
    }
    toolkit::ListItem row;
    row.caption = chosen;
    row.subItems = {"---", plainDecimal(size) + "MB", "Directory"};
    Lv_DirList.addItem(std::move(row));
    if (!Setting)
        return;
    TDirectory& d = Setting->Directorys.Add();
    d.Path = chosen;
    d.IncludeSubDir = Cb_IfSubDir.checked();
    d.IfClean = true;
}

void TfrmOption::btnDelCleanDirClick() {
    int index = Lv_DirList.itemIndex();
    if (index < 0)
        return;
    std::string path = Lv_DirList.item(index).caption;
    if (Setting)
        Setting->Directorys.RemoveByPath(path);
    // Every row of that path goes with its entries: none of them is cleaned any more.
    for (int i = Lv_DirList.count() - 1; i >= 0; --i)
        if (SameText(Lv_DirList.item(i).caption, path))
            Lv_DirList.removeItem(i);
}

void TfrmOption::Cb_IfSubDirClick() {
    // The box is read when a directory is added on this tab; it changes no setting itself.
}

void TfrmOption::btnAdd2Click() {
    if (ignoreListUnread_)
        return;
    std::string name;
    if (!toolkit::Toolkit::current().inputQuery("Add File you do not want clean", "FileName", name) || blank(name))
        return;
    toolkit::ListItem row;
    row.caption = name;
    lbIgnoreList.addItem(std::move(row));
    SaveIgnoreList();
}

void TfrmOption::btnDelListClick() {
    if (ignoreListUnread_)
        return;
    std::set<int> selected = lbIgnoreList.selection();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        lbIgnoreList.removeItem(*it);
}

void TfrmOption::SaveIgnoreList() {
    if (ignoreListUnread_)
        return;
    std::vector<std::string> lines;
    for (int i = 0; i < lbIgnoreList.count(); ++i)
        lines.push_back(lbIgnoreList.item(i).caption);
    SaveLinesToFile(IgnoreListPath(), lines);
}

// --- apply and close ---

void TfrmOption::btnApplyClick() {
    if (Setting) {
        for (int i = 0; i < SwitchCount && i < Inspect.count(); ++i) {
            const SwitchSpec& s = Switches()[std::size_t(i)];
            if (s.flag)
                Setting->*s.flag = Inspect.checked(i);
            else
                Setting->SlicePercent = Inspect.value(i);
        }
    }
    SaveIgnoreList();
}

void TfrmOption::RzButton6Click() {
    // A list that cannot be written keeps the window open, with the error shown.
    btnApplyClick();
    setModalResult(toolkit::mrOk);
    close();
}

void TfrmOption::RzButton1Click() { close(); }

void TfrmOption::FormClose(toolkit::CloseAction&) {
    if (!Setting)
        return;
    Setting->Garbages.Clear();
    for (int i = 0; i < Lv_GarbageList.count(); ++i) {
        toolkit::ListItem row = Lv_GarbageList.item(i);
        TGarbage& g = Setting->Garbages.Add();
        g.GarbageName = row.subItems.size() > 0 ? row.subItems[0] : std::string();
        g.Memo = row.subItems.size() > 1 ? row.subItems[1] : std::string();
        g.Ifclean = row.checked;
    }
    try {
        Setting->SaveToFile(SettingsFilePath());
    } catch (const std::exception& e) {
        // The window closes all the same: the settings stay in memory and are saved again
        // when the program ends.
        if (auto* tk = toolkit::Toolkit::instance())
            tk->handleException(e);
    }
}
