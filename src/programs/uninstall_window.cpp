#include "programs/uninstall_window.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "common/ascii_text.h"
#include "common/sort_keys.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/folder_sizes.h"
#include "toolkit/toolkit.h"

TfrmUninstall* frmUninstall = nullptr;

int TfrmUninstall::SortColumn = 0;
bool TfrmUninstall::SortDescending = true;

namespace {

// The node texts of the categories, in category order; "%d" takes the number of programs.
const char* const kKindNodes[kKindCount] = {
    "编程开发(%d)", "系统工具(%d)", "驱动相关(%d)", "应用工具(%d)", "聊天工具(%d)",
    "影音播放(%d)", "网络工具(%d)", "网页浏览(%d)", "安全防护(%d)", "图形图像(%d)",
    "压缩工具(%d)", "股票证券(%d)", "中文输入(%d)", "网络电视(%d)", "下载工具(%d)",
    "学习相关(%d)", "网上银行(%d)", "网络游戏(%d)", "电子邮件(%d)", "其它分类(%d)",
};

std::string withCount(const std::string& layout, int count) {
    std::string text = layout;
    if (size_t at = text.find("%d"); at != std::string::npos)
        text.replace(at, 2, std::to_string(count));
    return text;
}

// A value of the entry as text: missing is empty; a value that is no string cannot be read.
std::string stringValue(const std::string& key, const char* name) {
    auto v = platform::registry().readValue(platform::RegistryRoot::LocalMachine, key, name);
    if (!v)
        return {};
    if (!v->isString())
        throw platform::Error(std::string("Invalid data type for '") + name + "'");
    return v->data;
}

} // namespace

TfrmUninstall::TfrmUninstall()
    : Form("TfrmUninstall"), Panel1(this, "Panel1"), Label1(this, "Label1"), Label2(this, "Label2"),
      tvFileType(this, "tvFileType"), Splitter1(this, "Splitter1", toolkit::ControlKind::Separator),
      Lv_UninstallList(this, "Lv_UninstallList"), Panel2(this, "Panel2"), Label3(this, "Label3"),
      Btn_Uninstall(this, "Btn_Uninstall"), btnClose(this, "btnClose"), Sb_status(this, "Sb_status") {
    setCaption("应用程序管理 --- 卸载无用的工具能节省磁盘空间，提升你的电脑运行速度");
    borderStyle = toolkit::BorderStyle::Sizeable;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(800, 500);

    Panel1.setBounds(0, 0, 800, 28);
    Label1.setParentName("Panel1");
    Label1.setCaption("程序分类");
    Label1.setBounds(8, 6, 170, 16);
    Label2.setParentName("Panel1");
    Label2.setCaption("程序列表");
    Label2.setBounds(196, 6, 300, 16);

    tvFileType.setBounds(4, 32, 180, 372);
    for (const char* text : kKindNodes)
        tvFileType.add(nullptr, text, 0);
    Splitter1.setBounds(186, 32, 4, 372);

    Lv_UninstallList.setColumns({{"应用程序名称", 170}, {"位置", 150},
                                 {"占用空间", 110, toolkit::Alignment::Right}, {"最近使用时间", 150}});
    Lv_UninstallList.setViewStyle(toolkit::ViewStyle::Report);
    Lv_UninstallList.setCheckBoxes(true);
    Lv_UninstallList.setGridLines(true);
    Lv_UninstallList.setRowSelect(true);
    Lv_UninstallList.setReadOnly(true);
    Lv_UninstallList.setBounds(192, 32, 604, 372);

    Panel2.setBounds(0, 408, 800, 68);
    Label3.setParentName("Panel2");
    Label3.setCaption("友情提示： 应用程序管理 --- 卸载无用的工具能节省磁盘空间，提升你的电脑运行速度 ！");
    Label3.setFont({toolkit::Color::Red, false, 0});
    Label3.setBounds(8, 6, 784, 18);
    Btn_Uninstall.setParentName("Panel2");
    Btn_Uninstall.setCaption("卸载选中的应用程序 (&U)");
    Btn_Uninstall.setBounds(446, 32, 200, 28);
    btnClose.setParentName("Panel2");
    btnClose.setCaption("关  闭 (&C)");
    btnClose.setBounds(654, 32, 138, 28);
    Sb_status.setSimplePanel(true);
    Sb_status.setBounds(0, 476, 800, 24);

    onShow = [this] { FormShow(); };
    Lv_UninstallList.onColumnClick = [this](int c) { Lv_UninstallListColumnClick(c); };
    Lv_UninstallList.onCompare = [this](const toolkit::ListItem& a, const toolkit::ListItem& b, int, int& cmp) {
        cmp = Lv_UninstallListCompare(*static_cast<const TUninstall*>(a.data), *static_cast<const TUninstall*>(b.data));
    };
    Btn_Uninstall.onClick = [this] { Btn_UninstallClick(); };
    btnClose.onClick = [this] { btnCloseClick(); };
    tvFileType.onChange = [this](toolkit::TreeNode* node) { tvFileTypeChange(node); };
}

TfrmUninstall::~TfrmUninstall() {
    // The rows point at the programs: they go first.
    tvFileType.onChange = nullptr;
    Lv_UninstallList.clear();
}

void TfrmUninstall::FormShow() { LoadProgramList(); }

std::unique_ptr<TUninstall> TfrmUninstall::ReadEntry(const std::string& keyName) {
    std::string key = std::string(kUninstallKey) + keyName;
    auto program = std::make_unique<TUninstall>();
    program->Name = stringValue(key, "DisplayName");
    program->Command = stringValue(key, "UninstallString");
    if (Trim(program->Name).empty())
        program->Name = keyName;
    program->UninstallString = UnquoteUninstallString(program->Command);
    program->Location = LocationOf(program->UninstallString);
    program->Size = !program->Location.empty() && platform::files().isDirectory(program->Location)
                        ? FolderSizeIn(program->Location, 1)
                        : 0;
    program->LastUsed = Now();
    if (Trim(program->UninstallString).empty())
        return nullptr;
    return program;
}

void TfrmUninstall::LoadProgramList() {
    // A new set of categories and programs; the rows of the last load point into the old one.
    tvFileType.select(nullptr);
    Lv_UninstallList.clear();
    Sb_status.setSimpleText("");
    programs_.clear();
    kinds_ = std::make_unique<TFileKindList>();
    try {
        kinds_->LoadKindFile();
    } catch (const std::exception&) {
        // Without keywords every program falls into the last category.
    }

    // Read only: a user without administrator rights may read the key, not write it.
    auto& registry = platform::registry();
    if (registry.openKey(platform::RegistryRoot::LocalMachine, kUninstallKey)) {
        std::vector<std::string> names = registry.subkeys(platform::RegistryRoot::LocalMachine, kUninstallKey);
        toolkit::HourglassCursor busy;
        for (const std::string& name : names) {
            // Entries under a "{...}" name are the installer's own components; the walk goes
            // on past them, to the names that follow in the registry's order.
            if (!name.empty() && name[0] == '{')
                continue;
            try {
                std::unique_ptr<TUninstall> program = ReadEntry(name);
                if (!program)
                    continue;
                AddRow(*program);
                if (TFileKind* kind = kinds_->FindKind(program->Name))
                    kind->AddProgram(program.get());
                programs_.push_back(std::move(program));
            } catch (const std::exception&) {
                // An entry that cannot be read is left out; the others are listed.
            }
        }
    }
    FillNodeCounts();
}

void TfrmUninstall::AddRow(TUninstall& program) {
    toolkit::ListItem item;
    item.caption = program.Name;
    item.subItems = {program.Location, SizeText(program.Size), TimeText(program.LastUsed), program.UninstallString};
    item.data = &program;
    Lv_UninstallList.addItem(std::move(item));
}

void TfrmUninstall::FillNodeCounts() {
    // From the layout texts on every load, so a second showing of this window counts anew.
    // The nodes are made again: that is the change every view of a tree follows.
    tvFileType.clear();
    for (int i = 0; i < kKindCount; ++i) {
        TFileKind* kind = kinds_ ? kinds_->KindAt(i) : nullptr;
        tvFileType.add(nullptr, withCount(kKindNodes[i], kind ? kind->ProgramCount() : 0), 0);
    }
}

int TfrmUninstall::Lv_UninstallListCompare(const TUninstall& a, const TUninstall& b) const {
    int cmp = 0;
    switch (SortColumn) {
    case 0: cmp = CompareText(a.Name, b.Name); break;
    case 1: cmp = CompareText(a.Location, b.Location); break;
    case 2: cmp = SignOf(a.Size - b.Size); break;
    case 3: cmp = SignOf(a.LastUsed - b.LastUsed); break;
    default: break;
    }
    return SortDescending ? -cmp : cmp;
}

void TfrmUninstall::Lv_UninstallListColumnClick(int column) {
    if (column < 0 || column >= int(Lv_UninstallList.columns().size()))
        return;
    SortColumn = column;
    Lv_UninstallList.customSort();
    // Every click turns the direction, whichever column it is on.
    SortDescending = !SortDescending;
}

void TfrmUninstall::Btn_UninstallClick() {
    toolkit::HourglassCursor busy;
    int failed = 0;
    std::string lastFailure;
    for (int i = 0; i < Lv_UninstallList.count();) {
        toolkit::ListItem row = Lv_UninstallList.item(i);
        if (!row.checked) {
            ++i;
            continue;
        }
        const auto* program = static_cast<const TUninstall*>(row.data);
        platform::ProgramRun run;
        std::string why;
        bool started = false;
        try {
            if (program && UninstallRun(program->Command, run, why)) {
                platform::ProgramStart start = platform::shell().runProgram(run);
                started = start.started;
                why = start.error;
            }
        } catch (const std::exception& e) {
            why = e.what();
        }
        if (started) {
            // Not waited for: the uninstaller runs on its own; the next row moves up to i.
            Lv_UninstallList.removeItem(i);
            continue;
        }
        // The row stays, ticked, so the user sees what was not started.
        ++failed;
        lastFailure = "[" + row.caption + "] " + why;
        ++i;
    }
    if (failed == 1)
        Sb_status.setSimpleText("卸载程序未能启动: " + lastFailure);
    else if (failed > 1)
        Sb_status.setSimpleText(std::to_string(failed) + " 个卸载程序未能启动, 最后一个: " + lastFailure);
    else
        Sb_status.setSimpleText("");
}

void TfrmUninstall::btnCloseClick() { close(); }

void TfrmUninstall::tvFileTypeChange(toolkit::TreeNode* node) {
    Lv_UninstallList.clear();
    if (!node || !kinds_)
        return;
    TFileKind* kind = kinds_->KindAt(node->index());
    if (!kind)
        return;
    for (int i = 0; i < kind->ProgramCount(); ++i)
        AddRow(*kind->ProgramAt(i));
}
