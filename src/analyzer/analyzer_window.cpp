#include "analyzer/analyzer_window.h"

#include "analyzer/entry_commands.h"

#include <random>

#include "analyzer/size_engine.h"
#include "cleaner/cleaning_window.h"
#include "info/about_window.h"
#include "options/option_window.h"
#include "platform/platform.h"
#include "programs/uninstall_window.h"
#include "app/window_helpers.h"
#include "common/ascii_text.h"
#include "common/date_time.h"
#include "common/paths.h"
#include "services/clock_texts.h"
#include "services/disk.h"
#include "settings/setting.h"
#include "settings/settings_files.h"
#include "toolkit/toolkit.h"
#include "wipe/wipe_window.h"

TFrm_Main* Frm_Main = nullptr;

const char* const kHomePage = "http://www.quorcleaner.example/";
const char* const kWebSite = "http://www.quorcleaner.example";
const char* const kFriendAddress = "your.friend@example.com";
const char* const kSupportAddress = "support@quorcleaner.example";

namespace {

const char* const kMyComputer = "My Computer";
const char* const kBackStatus = "Right click chart for more info,Left click to Dig direcotry data ...";

enum ShowCommand { SW_SHOWNORMAL = 1, SW_SHOW = 5 };

// The application's cursor for as long as it lives, the previous one back after,
// also when the work in between throws.
class HourGlass {
public:
    HourGlass() : tk_(toolkit::Toolkit::instance()) {
        if (tk_) {
            saved_ = tk_->cursor();
            tk_->setCursor(toolkit::Cursor::Hourglass);
        }
    }
    ~HourGlass() {
        if (tk_)
            tk_->setCursor(saved_);
    }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;

private:
    toolkit::Toolkit* tk_;
    toolkit::Cursor saved_ = toolkit::Cursor::Default;
};


// The local date and time of a file time in the short date and long time form; empty for
// no time, or one the clock cannot convert.
std::string ModifiedTextOf(platform::FileTime t) {
    platform::SystemTime local;
    double day;
    if (t == 0 || !platform::clock().toLocal(t, local) || !TryEncodeDate(local.year, local.month, local.day, day))
        return {};
    return FormatDateTime("yyyy/m/d h:nn:ss", EncodeDateTime(local));
}

} // namespace

std::string TellAFriendMail() {
    const std::string lines[] = {
        "My Dear Friend ",
        "  I have try a disk clean tool (Varnholt) and found it is very userful,",
        "Strongly recommand it to you ! ",
        "  You can check it out at :",
        std::string("     ") + kWebSite + "?src=Friend ",
        "  or download it directly from :",
        std::string("     ") + kWebSite + "/download/varnholt.exe?src=Friend ",
        "",
        "Best Regards,",
        "Yours ",
    };
    std::string mail = std::string("mailto: ") + kFriendAddress + "?subject= Try out Varnholt7.0 &Body=";
    for (const std::string& line : lines)
        mail += line + "\n\r";
    return mail;
}

std::string SupportMail() {
    const std::string rule(48, '_');
    std::string mail = std::string("mailto:") + kSupportAddress + "?subject= Tessaly --- 2008Brisa   &Body=";
    const char* fields[] = {"FullName:", "Address(Country):", "Phone:", "Fax:"};
    for (std::size_t i = 0; i < 4; ++i)
        mail += (i ? "\n\r" : "") + std::string(fields[i]) + rule;
    return mail;
}

TFrm_Main::TFrm_Main()
    : Form("TFrm_Main"), Pc_Main(this, "Pc_Main"), Ts_Disk(this, "Ts_Disk"), MainMenu1(this, "MainMenu1"),
      Disk1(this, "Disk1"), DiskAnalyse1(this, "DiskAnalyse1"), New1(this, "New1"), Open2(this, "Open2"),
      N2(this, "N2"), Exit1(this, "Exit1"), Scheme1(this, "Scheme1"), Manager1(this, "Manager1"),
      NewScheme1(this, "NewScheme1"), Tools1(this, "Tools1"), Undo1(this, "Undo1"),
      Repeatcommand1(this, "Repeatcommand1"), Help1(this, "Help1"), ellafriend1(this, "ellafriend1"),
      Contents1(this, "Contents1"), Index1(this, "Index1"), About1(this, "About1"), CoolBar(this, "CoolBar"),
      ToolBar1(this, "ToolBar1"), btnScan(this, "btnScan"), btnWipe(this, "btnWipe"),
      SpeedButton2(this, "SpeedButton2"), SpeedButton5(this, "SpeedButton5"), btnHelp(this, "btnHelp"),
      btnExit(this, "btnExit"), ToolBar2(this, "ToolBar2"), cbPath(this, "cbPath"), btnBack(this, "btnBack"),
      btnLargeIcons(this, "btnLargeIcons"), btnSmallIcons(this, "btnSmallIcons"), btnList(this, "btnList"),
      btnReport(this, "btnReport"), ToolButton6(this, "ToolButton6"), cbShowChart(this, "cbShowChart"),
      ListView(this, "ListView"), pDirInfo(this, "pDirInfo"), Panel4(this, "Panel4"), PChart(this, "PChart"),
      pbk(this, "pbk"), RzToolbarButton9(this, "RzToolbarButton9"), btnOption(this, "btnOption"),
      RzToolbarButton12(this, "RzToolbarButton12"), RzToolbarButton13(this, "RzToolbarButton13"),
      btnMenu(this, "btnMenu"), Label2(this, "Label2"), Label4(this, "Label4"), Label5(this, "Label5"),
      Label7(this, "Label7"), Label8(this, "Label8"), L_Dir(this, "L_Dir"), LDirName(this, "LDirName"),
      lCreateDate(this, "lCreateDate"), lModifyDate(this, "lModifyDate"), RzStatusBar1(this, "RzStatusBar1"),
      Sb_Status(this, "Sb_Status"), RzClockStatus1(this, "RzClockStatus1"), RzGlyphStatus1(this, "RzGlyphStatus1"),
      ToolBarMenu(this, "ToolBarMenu"), MnuNew(this, "MnuNew"), N1(this, "N1"),
      MnuMakeInactive(this, "MnuMakeInactive"), MnuShowAllAccounts(this, "MnuShowAllAccounts"),
      Pm_Sys(this, "Pm_Sys"), StartScan1(this, "StartScan1"), StopScan1(this, "StopScan1"), N5(this, "N5"),
      Minilize1(this, "Minilize1"), Maxilize1(this, "Maxilize1"), N6(this, "N6"), About2(this, "About2"),
      QuitQ1(this, "QuitQ1"), PM_Files(this, "PM_Files"), N15(this, "N15"),
      AnalyzeThisDiectory1(this, "AnalyzeThisDiectory1"), N3(this, "N3"), ClearUpGarbage1(this, "ClearUpGarbage1"),
      N_Delete(this, "N_Delete"), N19(this, "N19"), N_Attrib(this, "N_Attrib"),
      RzBalloonHints1(this, "RzBalloonHints1"), T_Reg(this, "T_Reg"), ClockTimer(this, "ClockTimer"),
      Label1(this, "Label1"), Label3(this, "Label3"), Sp_Slice(this, "Sp_Slice"), Pb_Process(this, "Pb_Process"),
      RzToolbarButton11(this, "RzToolbarButton11"), RzToolbarButton1(this, "RzToolbarButton1"),
      RzToolbarButton2(this, "RzToolbarButton2"), btnZoomOut(this, "btnZoomOut"), btnZoomIn(this, "btnZoomIn"),
      RzToolbarButton5(this, "RzToolbarButton5"), RzToolbarButton6(this, "RzToolbarButton6"),
      RzToolbarButton7(this, "RzToolbarButton7"), btnPie(this, "btnPie"), btnBar(this, "btnBar"),
      RzToolbarButton8(this, "RzToolbarButton8"), SpeedButton14(this, "SpeedButton14"), Chart_Dir(this, "Chart_Dir"),
      Series1(Chart_Dir, "Series1"), Series5(Chart_Dir, "Series5"), Label6(this, "Label6"),
      SpeedButton3(this, "SpeedButton3"), Chart_Disk(this, "Chart_Disk"), Series4(Chart_Disk, "Series4"),
      Series3(Chart_Disk, "Series3"), Label9(this, "Label9"), Label10(this, "Label10"), pInfo(this, "pInfo"),
      Dlg_OpenDialog(this, "Dlg_OpenDialog"),
      Charts({pDirInfo, PChart, Chart_Dir, Series1, Chart_Disk, Series4, Series3, L_Dir, Pb_Process, Sp_Slice}) {
    setCaption("WindowsKestrane --- 磁盘目录空间分析");
    borderStyle = toolkit::BorderStyle::Sizeable;
    maximized = true; // the screen's work area
    keyPreview = true;
    setClientSize(1000, 700);

    // Main menu.
    struct Item {
        toolkit::MenuItem& item;
        const char* caption;
        const char* shortcut;
    };
    auto fill = [](std::vector<toolkit::MenuItem*>& into, std::initializer_list<Item> items) {
        for (const Item& i : items) {
            i.item.setCaption(i.caption);
            i.item.shortcut = i.shortcut;
            into.push_back(&i.item);
        }
    };
    Disk1.setCaption("磁盘");
    fill(Disk1.items, {{DiskAnalyse1, "磁盘分析", "F3"}, {New1, "扫描磁盘", "F4"}, {Open2, "应用程序管理", "F5"},
                       {N2, "-", ""}, {Exit1, "退出分析工具", "F10"}});
    Scheme1.setCaption("选项配置");
    fill(Scheme1.items, {{Manager1, "&Scheme Manage", "F6"}, {NewScheme1, "&New Scheme", "F7"}});
    Tools1.setCaption("工具");
    fill(Tools1.items, {{Undo1, "&Online Update", "F8"}, {Repeatcommand1, "&Tutorial", "F9"}});
    Help1.setCaption("帮助");
    fill(Help1.items, {{ellafriend1, "Tell a friend", "Ctrl+F1"}, {Contents1, "&Contact Author", "Ctrl+F2"},
                       {Index1, "&Help", "F1"}, {About1, "&About...", "F2"}});
    MainMenu1.items = {&Disk1, &Scheme1, &Tools1, &Help1};
    mainMenu = &MainMenu1;

    // The areas, top to bottom; the menu bar takes the first 22 pixels.
    Pc_Main.setBounds(0, 22, 1000, 656);
    Ts_Disk.setBounds(0, 22, 1000, 656);
    CoolBar.setBounds(0, 22, 1000, 54);
    ToolBar1.setBounds(0, 22, 1000, 54);
    struct Tool {
        toolkit::Button& button;
        const char* caption;
        const char* hint;
    } tools[] = {
        {btnScan, "Clean", "Scan disk and found all junker files"},
        {SpeedButton2, "Uninstall", "Uninstall some unuser program"},
        {SpeedButton5, "Setting", "Some Option and setting"},
        {btnHelp, "Help", "Help and how to use this tool"},
        {btnExit, "Exit", "Exit to system"},
    };
    int x = 4;
    for (Tool& t : tools) {
        t.button.setCaption(t.caption);
        t.button.setHint(t.hint);
        t.button.setBounds(x, 24, 72, 50);
        x += 76;
    }
    btnWipe.setCaption("Wipe");
    btnWipe.setVisible(false);
    btnWipe.setBounds(x, 24, 72, 50);

    ToolBar2.setBounds(0, 78, 1000, 28);
    cbPath.setBounds(4, 80, 520, 24);
    btnBack.setCaption("Back");
    btnBack.setHint("Back");
    btnBack.setBounds(528, 80, 52, 24);
    struct ViewButton {
        toolkit::Button& button;
        const char* caption;
        int style;
    } views[] = {{btnLargeIcons, "大图标", 0}, {btnSmallIcons, "小图标", 1}, {btnList, "列表", 2}, {btnReport, "详细", 3}};
    x = 584;
    for (ViewButton& v : views) {
        v.button.setCaption(v.caption);
        v.button.setHint(v.caption);
        v.button.setTag(v.style);
        v.button.setBounds(x, 80, 44, 24);
        x += 46;
    }
    ToolButton6.setHint("Collapse/Expand Directory Information");
    ToolButton6.setCaption("▼");
    ToolButton6.setBounds(770, 80, 24, 24);
    cbShowChart.setCaption("即时显示图表(目录大时，速度较慢)");
    cbShowChart.setBounds(798, 82, 200, 20);

    ListView.setColumns({{"文件名称", 300},
                         {"占用空间", 100, toolkit::Alignment::Right},
                         {"类型", 140},
                         {"最近修改", 150},
                         {"属性", 60, toolkit::Alignment::Right}});
    ListView.setViewStyle(toolkit::ViewStyle::Report);
    ListView.setGridLines(true);
    ListView.setRowSelect(true);
    ListView.setReadOnly(true);
    ListView.setOwnerData(true);
    ListView.popupMenu = &PM_Files;
    ListView.setBounds(0, 108, 1000, 330);

    pDirInfo.setBounds(0, 440, 1000, 236);
    Panel4.setBounds(0, 440, 1000, 28);
    struct ChartTool {
        toolkit::Button& button;
        const char* caption;
        const char* hint;
    } chartTools[] = {
        {RzToolbarButton9, "Scan", "Scan this directory ..."},
        {btnOption, "Option", "Option"},
        {RzToolbarButton12, "Friend", "Tell a Friend ..."},
        {RzToolbarButton13, "Mail", "Send Mail To Author..."},
        {btnMenu, "Kestrane", "Varnholt Menu"},
    };
    x = 4;
    for (ChartTool& t : chartTools) {
        t.button.setCaption(t.caption);
        t.button.setHint(t.hint);
        t.button.setBounds(x, 442, 80, 24);
        x += 84;
    }
    PChart.setBounds(0, 470, 760, 206);
    pbk.setBounds(762, 470, 238, 206);
    struct Caption {
        toolkit::Label& label;
        const char* text;
        int y;
    } captions[] = {{Label2, "目录", 476}, {Label4, "目录路径 :", 500}, {Label5, "创建日期:", 548},
                    {Label7, "最后修改:", 572}, {Label8, "磁盘总大小", 620}};
    for (Caption& c : captions) {
        c.label.setCaption(c.text);
        c.label.setBounds(768, c.y, 80, 20);
    }
    LDirName.setBounds(850, 476, 146, 20);
    L_Dir.setBounds(768, 522, 228, 20);
    lCreateDate.setBounds(850, 548, 146, 20);
    lModifyDate.setBounds(850, 572, 146, 20);

    RzStatusBar1.setBounds(0, 678, 1000, 22);
    Sb_Status.setCaption("可按ESC键中止扫描....");
    Sb_Status.setBounds(4, 680, 760, 18);
    RzClockStatus1.setBounds(770, 680, 200, 18);
    RzGlyphStatus1.setImage("analyzer.status");
    RzGlyphStatus1.setBounds(976, 680, 20, 18);

    MnuNew.setCaption("&Home Page");
    N1.setCaption("-");
    MnuMakeInactive.setCaption("&Option");
    MnuShowAllAccounts.setCaption("&Help");
    ToolBarMenu.items = {&MnuNew, &N1, &MnuMakeInactive, &MnuShowAllAccounts};

    StartScan1.setCaption("Start Scan");
    StopScan1.setCaption("Stop Scan");
    N5.setCaption("-");
    Minilize1.setCaption("Minimize To TrayIcon");
    Maxilize1.setCaption("Restore Varnholt");
    N6.setCaption("-");
    About2.setCaption("About...");
    QuitQ1.setCaption("Quit(&Q)");
    Pm_Sys.items = {&StartScan1, &StopScan1, &N5, &Minilize1, &Maxilize1, &N6, &About2, &QuitQ1};

    const std::string pad(28, ' ');
    struct FileItem {
        toolkit::MenuItem& item;
        std::string caption;
        const char* shortcut;
    } files[] = {{N15, "&Open&&Explorer...", "Ctrl+E"},
                 {AnalyzeThisDiectory1, "Analy&ze Directory", "Ctrl+A"},
                 {N3, "-", ""},
                 {ClearUpGarbage1, "&Clean Direcotry...", "Ctrl+G"},
                 {N_Delete, "&Delete" + pad, "Ctrl+D"},
                 {N19, "-", ""},
                 {N_Attrib, "&Attribute" + pad, "Ctrl+P"}};
    for (FileItem& f : files) {
        f.item.setCaption(f.caption);
        f.item.shortcut = f.shortcut;
        PM_Files.items.push_back(&f.item);
    }

    RzBalloonHints1.hintPause = 500;
    T_Reg.setInterval(786);
    T_Reg.onTimer = [this] { T_RegTimer(); };
    T_Reg.setEnabled(true);
    ClockTimer.setInterval(1000);
    ClockTimer.onTimer = [this] { RzClockStatus1.setCaption(FormatDateTime("yyyy-m-d h:nn:ss", Now())); };

    onShow = [this] { FormShow(); };
    onClose = [this](toolkit::CloseAction& a) { FormClose(a); };
    onKeyDown = [this](int& key) { FormKeyDown(key); };
    onMessage = [this](unsigned msg, std::intptr_t, std::intptr_t lParam) {
        if (msg == WM_TRAYNOTIFY)
            TrayMessage(lParam);
    };
    btnScan.onClick = [this] { btnProbeClick(); };
    btnWipe.onClick = [this] { btnWipeClick(); };
    SpeedButton2.onClick = [this] { SpeedButton2Click(); };
    Open2.onClick = [this] { SpeedButton2Click(); };
    SpeedButton5.onClick = [this] { SpeedButton5Click(); };
    btnHelp.onClick = [this] { SpeedButton1Click(); };
    Index1.onClick = [this] { SpeedButton1Click(); };
    btnExit.onClick = [this] { btnExitClick(); };
    Exit1.onClick = [this] { Exit1Click(); };
    Undo1.onClick = [this] { Rg_ToolsItems0Click(); };
    Repeatcommand1.onClick = [this] { Rg_ToolsItems1Click(); };
    ellafriend1.onClick = [this] { ellafriend1Click(); };
    Contents1.onClick = [this] { Rg_AboutItems0Click(); };
    About1.onClick = [this] { Rg_AboutItems1Click(); };
    RzToolbarButton9.onClick = [this] { RzToolbarButton9Click(); };
    btnOption.onClick = [this] { btnOptionClick(); };
    RzToolbarButton12.onClick = [this] { RzToolbarButton12Click(); };
    RzToolbarButton13.onClick = [this] { RzToolbarButton13Click(); };
    btnMenu.onClick = [this] { ToolBarMenu.popup(toolkit::Toolkit::current().cursorPos()); };
    MnuNew.onClick = [this] { MnuNewClick(); };
    MnuMakeInactive.onClick = [this] { MnuMakeInactiveClick(); };
    MnuShowAllAccounts.onClick = [this] { MnuShowAllAccountsClick(); };
    Minilize1.onClick = [this] { Minilize1Click(); };
    Maxilize1.onClick = [this] { Maxilize1Click(); };
    QuitQ1.onClick = [this] { QuitQ1Click(); };
    cbShowChart.onClick = [this] { cbShowChartClick(); };
    cbPath.onClick = [this] { cbPathClick(); };
    btnBack.onClick = [this] { BrowseToParent(); };
    for (toolkit::Button* b : {&btnLargeIcons, &btnSmallIcons, &btnList, &btnReport})
        b->onClick = [this, b] { btnViewStyleClick(*b); };

    ListView.onData = [this](toolkit::ListItem& item) { ListViewData(item); };
    ListView.onDataHint = [this](int from, int to) { ListViewDataHint(from, to); };
    ListView.onDataFind = [this](toolkit::FindKind kind, const std::string& text, int start, bool wrap) {
        return ListViewDataFind(kind, text, start, wrap);
    };
    ListView.onColumnClick = [this](int column) { ListViewColumnClick(column); };
    ListView.onCustomDraw = [this](int index, int subItem, toolkit::ItemStyle& style) {
        ListViewCustomDrawItem(index, subItem, style);
    };
    ListView.onKeyDown = [this](int& key) { ListViewKeyDown(key); };
    ListView.onDblClick = [this] { ListViewDblClick(); };

    SetUpCharts();
}

void TFrm_Main::SetUpCharts() {
    // The chart tool bar, right of the other chart tools.
    Label1.setCaption("最小块比例:");
    Label1.setHint("Group Slice In Pie Chart  When Percent Below:");
    Label1.setBounds(424, 446, 70, 20);
    Sp_Slice.setBounds(494, 444, 46, 22);
    Label3.setCaption("%");
    Label3.setBounds(542, 446, 14, 20);
    Pb_Process.setBounds(560, 448, 100, 14);
    struct Tool {
        toolkit::Button& button;
        const char* caption;
        const char* hint;
        int width;
    } tools[] = {
        {RzToolbarButton11, "Refresh", "Refresh Chart", 56},
        {RzToolbarButton1, "Print", "Print Chart", 44},
        {RzToolbarButton2, "Save", "Save Chart as bitmap...", 44},
        {btnZoomOut, "－", "Zoom Out", 24},
        {btnZoomIn, "＋", "Zoom In", 24},
        {btnPie, "Pie", "Pie model", 32},
        {btnBar, "Bar", "Bar Model", 32},
        {RzToolbarButton5, "▼", "Collapse/Expand Directory Information", 24},
        {RzToolbarButton6, "▲", "Collapse/Expand Directory Information", 24},
        {RzToolbarButton7, "▶", "Collapse/Expand Directory Information", 24},
        {RzToolbarButton8, "◀", "Collapse/Expand Left Items", 24},
    };
    int x = 664;
    for (Tool& t : tools) {
        t.button.setCaption(t.caption);
        t.button.setHint(t.hint);
        t.button.setBounds(x, 442, t.width, 24);
        x += t.width + 2;
    }
    SpeedButton14.setHint("Goto Parent Directory");
    SpeedButton14.setVisible(false);

    // The charts fill PChart, the pie leaving room for its slice list; one shows at a time.
    const int listWidth = 180;
    Chart_Dir.setBounds(0, 0, PChart.bounds().width - listWidth, PChart.bounds().height);
    Chart_Disk.setBounds(0, 0, PChart.bounds().width, PChart.bounds().height);
    for (toolkit::Chart* chart : {&Chart_Dir, &Chart_Disk}) {
        chart->setHint("双击图表中某一区块，进入相应目录");
        chart->legend = toolkit::Chart::Legend::Bottom;
    }
    Chart_Dir.setTitle("目录空间分析");
    Chart_Dir.axesVisible = false;
    Chart_Dir.backgroundImage = "analyzer.chart";
    Series1.circled = true;
    Series1.marksVisible = true;
    Series1.showInLegend = false;
    Series1.otherLabel = "Other";
    Series5.setActive(false);
    Label6.setCaption("Upper Lever :");
    // The chart's own decorations sit on it and go with it.
    Label6.setParentName(Chart_Dir.name());
    Label6.setBounds(Chart_Dir.bounds().width - 130, 4, 90, 18);
    SpeedButton3.setHint("Back Step");
    SpeedButton3.setCaption("↑");
    SpeedButton3.setParentName(Chart_Dir.name());
    SpeedButton3.setBounds(Chart_Dir.bounds().width - 36, 2, 22, 22);

    Chart_Disk.setTitle("磁盘/目录空间占用分析 (图表单位 : MByte)");
    Chart_Disk.legendListsSeries = true;
    Series4.title = "条柱1       : 磁盘大小";
    Series4.marks = toolkit::BarSeries::Marks::LabelAndValue;
    Series4.barWidthPercent = 60;
    Series3.title = "条柱2: 剩余空间";
    Series3.marks = toolkit::BarSeries::Marks::Value;
    Series3.barWidthPercent = 65;
    Series3.offsetPercent = -45;
    Series3.gradientStart = toolkit::Color::Gray;
    Series3.gradientEnd = toolkit::Color::White;
    Label9.setCaption("Notice :");
    Label10.setCaption("Double click the column to analyse the direcotry space ");
    for (toolkit::Label* l : {&Label9, &Label10})
        l->setParentName(Chart_Disk.name());
    Label9.setBounds(8, 4, 60, 18);
    Label10.setBounds(68, 4, 360, 18);

    // The slice list beside the pie, a row of 12 pixels for each slice drawn.
    pInfo.setParentName(PChart.name());
    pInfo.setBounds(PChart.bounds().width - listWidth + 4, 8, listWidth - 8, PChart.bounds().height - 16);
    // It lists the pie's slices: it shows with the pie, not with the drive bars.
    Chart_Dir.subscribe([this](toolkit::Control&, toolkit::Property p) {
        if (p == toolkit::Property::Visible)
            pInfo.setVisible(Chart_Dir.visible());
    });

    Dlg_OpenDialog.filter = "Word|*.Doc|Access|*.Mdb|Excel|*.Exl|Picture|*.bmp;*.jpg,*.png";
    Dlg_OpenDialog.defaultExt = "*.bmp";

    Sp_Slice.onChange = [this] { Sp_SliceChange(); };
    RzToolbarButton11.onClick = [this] { RzToolbarButton11Click(); };
    RzToolbarButton1.onClick = [this] { RzToolbarButton1Click(); };
    RzToolbarButton2.onClick = [this] { RzToolbarButton2Click(); };
    btnZoomOut.onClick = [this] { btnZoomOutClick(); };
    btnZoomIn.onClick = [this] { btnZoomInClick(); };
    RzToolbarButton5.onClick = [this] { RzToolbarButton5Click(); };
    RzToolbarButton6.onClick = [this] { RzToolbarButton5Click(); };
    ToolButton6.onClick = [this] { RzToolbarButton5Click(); };
    RzToolbarButton7.onClick = [this] { RzToolbarButton7Click(); };
    SpeedButton14.onClick = [this] { Sp_UpDirClick(); };
    Series1.onClick = [this](int index, toolkit::MouseButton b) { Series1Click(index, b); };
    Series1.onDblClick = [this](int index) { Series1DblClick(index); };
    Series4.onDblClick = [this](int index) { Series4DblClick(index); };
    Series5.onDblClick = [this](int index) { Series4DblClick(index); };
    Chart_Dir.onAfterDraw = [this] { Chart_DirAfterDraw(); };
    pInfo.onPaint = [this](toolkit::Canvas& canvas) { pInfoPaint(canvas); };

    N15.onClick = [this] { N15Click(); };
    AnalyzeThisDiectory1.onClick = [this] { AnalyzeThisDiectory1Click(); };
    ClearUpGarbage1.onClick = [this] { ClearUpGarbage1Click(); };
    N_Delete.onClick = [this] { N_DeleteClick(); };
    N_Attrib.onClick = [this] { N_AttribClick(); };
}

TFrm_Main::~TFrm_Main() {
    if (auto* tk = toolkit::Toolkit::instance())
        tk->setNotificationIcon(*this, WM_TRAYNOTIFY, false);
    FormDestroy();
    // The windows opened from here go before the entries they may still point into.
    components_.DestroyAll();
    ClearIDList();
}

// ---- Window events ----

void TFrm_Main::FormShow() {
    cbShowChart.setChecked(Setting && Setting->IfShowChart);
    cbPath.selectAll();
    // The help file is opened by its bare name, from here.
    platform::sys().setCurrentFolder(platform::sys().programFolder());
    FDisk = std::make_unique<TDisk>();
    ClockTimer.setEnabled(true);
    ClockTimer.tick();
    // An icon in the notification area brings the window back after "Minimize To TrayIcon";
    // without a notification area there is nothing to come back from.
    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    Minilize1.setEnabled(tk.hasNotificationArea());
    if (tk.hasNotificationArea())
        tk.setNotificationIcon(*this, WM_TRAYNOTIFY, true);

    FDesktopFolder = platform::shellNamespace().desktopFolder();
    FCurrentFolder = FDesktopFolder;
    ClearIDList();
    BrowseToIdList(platform::shellNamespace().myComputer().get());
}

void TFrm_Main::FormClose(toolkit::CloseAction&) {
    ClockTimer.setEnabled(false);
    if (auto* tk = toolkit::Toolkit::instance())
        tk->setNotificationIcon(*this, WM_TRAYNOTIFY, false);
    if (Setting)
        Setting->SaveToFile(SettingsFilePath());
}

void TFrm_Main::FormDestroy() { FDisk.reset(); }

void TFrm_Main::FormKeyDown(int& key) {
    if (key == toolkit::VK_ESCAPE)
        RequestStop();
}

void TFrm_Main::TrayMessage(std::intptr_t mouseMessage) {
    if (mouseMessage == WM_LBUTTONDOWN)
        Maxilize1Click();
    else if (mouseMessage == WM_RBUTTONDOWN)
        Pm_Sys.popup(toolkit::Toolkit::current().cursorPos());
}

void TFrm_Main::T_RegTimer() {
    setCaption(kAnalyzerWindowTitle);
    static std::mt19937 rng{std::random_device{}()};
    T_Reg.setInterval(600000 + int(rng() % 600000));
}

// ---- Commands ----

void TFrm_Main::ShowCleaningWindow() {
    TfrmCleaning& form = Existing(frmCleaning, components_);
    WithCleanup([&] { form.showModal(); }, [&] { form.close(); });
}

void TFrm_Main::btnProbeClick() { ShowCleaningWindow(); }

void TFrm_Main::btnWipeClick() { ShowThenFree(frmWipe, components_); }

void TFrm_Main::SpeedButton2Click() { ShowThenFree(frmUninstall, components_); }

void TFrm_Main::SpeedButton5Click() { ShowThenFree(frmOption, components_); }

void TFrm_Main::Open(const std::string& file, int show) {
    // What cannot be opened is passed over: the desktop says so itself when it does.
    platform::shell().execute({"open", file, "", show});
}

void TFrm_Main::SpeedButton1Click() { Open("QuorCleaner.chm", SW_SHOW); }

void TFrm_Main::btnExitClick() { close(); }

void TFrm_Main::Exit1Click() {
    // The whole program ends: this window goes without its close step, and the start
    // window saves the settings as it is destroyed.
    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    if (inModalRun())
        setModalResult(toolkit::mrAbort);
    else
        hide();
    if (toolkit::Form* main = tk.mainForm(); main && main != this)
        main->close();
}

void TFrm_Main::Rg_ToolsItems0Click() { Open(ProgramFilePath("update.exe"), SW_SHOW); }

void TFrm_Main::Rg_ToolsItems1Click() { Open(JoinPath(platform::sys().currentFolder(), "Tutorial.exe"), SW_SHOWNORMAL); }

void TFrm_Main::ellafriend1Click() { Open(TellAFriendMail(), SW_SHOWNORMAL); }

void TFrm_Main::Rg_AboutItems0Click() { SpeedButton1Click(); }

void TFrm_Main::Rg_AboutItems1Click() { Existing(Frm_About, components_).showModal(); }

void TFrm_Main::RzToolbarButton9Click() {
    // The folder shown goes to the junk cleaner, as "&Clean Direcotry..." hands a folder
    // row; at "My Computer" the cleaner scans the directories it has.
    std::string folder = PathBoxText();
    if (Setting && folder != kMyComputer && !folder.empty()) {
        Setting->Directorys.Clear();
        TDirectory& d = Setting->Directorys.Add();
        d.Path = folder;
        d.IncludeSubDir = true;
        d.IfClean = true;
    }
    ShowCleaningWindow();
}

void TFrm_Main::btnOptionClick() { SpeedButton5Click(); }

void TFrm_Main::RzToolbarButton12Click() { ellafriend1Click(); }

void TFrm_Main::RzToolbarButton13Click() { Open(SupportMail(), SW_SHOWNORMAL); }

void TFrm_Main::MnuNewClick() { Open(kHomePage, SW_SHOWNORMAL); }

void TFrm_Main::MnuMakeInactiveClick() { SpeedButton5Click(); }

void TFrm_Main::MnuShowAllAccountsClick() { SpeedButton1Click(); }

void TFrm_Main::Minilize1Click() { HideApplicationWindows(); }

void TFrm_Main::Maxilize1Click() { ShowApplicationWindows(this); }

void TFrm_Main::QuitQ1Click() { close(); }

void TFrm_Main::cbShowChartClick() {
    if (Setting)
        Setting->IfShowChart = cbShowChart.checked();
}

// ---- Navigation ----

std::string TFrm_Main::PathBoxText() const { return cbPath.text(); }

void TFrm_Main::BrowseToIdList(platform::ConstItemIdList absolute) {
    if (!FDesktopFolder)
        return;
    // Held by value: `absolute` may belong to a path box entry or to the list replaced here.
    platform::IdList target = platform::IdList::copyOf(absolute);
    std::shared_ptr<platform::ShellFolder> folder = platform::shellNamespace().bindToFolder(target.get());
    PopulateIDList(folder);
    FCurrentPath = FDesktopFolder->displayNameOf(target.get(), true);
    FCurrentIdList = std::move(target);

    // Each folder has one entry, found by the parsing name it carries.
    int found = -1;
    const auto& items = cbPath.items();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (const auto* e = std::any_cast<PathEntry>(&items[i].value); e && e->parsingName == FCurrentPath) {
            found = int(i);
            break;
        }
    if (found < 0) {
        std::string text = FCurrentPath.find("::") != std::string::npos ? kMyComputer : FCurrentPath;
        cbPath.insertItem(0, {text, PathEntry{FCurrentPath, FCurrentIdList}});
        found = 0;
    }
    cbPath.setItemIndex(found);
    cbPath.setText(cbPath.items()[std::size_t(found)].text);
    L_Dir.setCaption(cbPath.text());
    if (!FShellItems.empty()) {
        ListView.setItemIndex(0);
        ListView.makeVisible(0);
    }
}

void TFrm_Main::BrowseToPath(const std::string& text) {
    platform::IdList list = platform::shellNamespace().parseDisplayName(text);
    BrowseToIdList(list.get());
}

void TFrm_Main::PopulateIDList(std::shared_ptr<platform::ShellFolder> folder) {
    HourGlass busy;
    std::vector<TShellItem> items;
    folder->enumObjects([&](platform::IdList child) {
        std::string name = folder->displayNameOf(child.get(), false);
        // The floppy drives stay out of the list.
        if (name.find("A:") != std::string::npos || name.find("B:") != std::string::npos)
            return true;
        TShellItem& item = items.emplace_back();
        item.IsFolder = folder->isFolder(child.get());
        item.ChildIdList = std::move(child);
        item.DisplayName = std::move(name);
        return true;
    });
    // One record per entry is all a large folder keeps: no room left over from the growth.
    items.shrink_to_fit();
    platform::ShellFolder& f = *folder;
    std::sort(items.begin(), items.end(), [&f](const TShellItem& a, const TShellItem& b) {
        return std::int16_t(f.compareIDs(a.ChildIdList.get(), b.ChildIdList.get())) < 0;
    });
    FCurrentFolder = std::move(folder);
    ClearIDList();
    FShellItems = std::move(items);
    ListView.clearSelection();
    ListView.setItemCount(int(FShellItems.size()));
    ListView.invalidate();
}

void TFrm_Main::ClearIDList() {
    FShellItems.clear();
    FShellItems.shrink_to_fit();
}

TShellItem* TFrm_Main::ShellItem(int index) {
    if (index < 0 || index >= int(FShellItems.size()))
        return nullptr;
    return &FShellItems[std::size_t(index)];
}

void TFrm_Main::CheckShellItems(int first, int last) {
    if (!FCurrentFolder)
        return;
    platform::ShellNamespace& ns = platform::shellNamespace();
    bool large = ListView.viewStyle() == toolkit::ViewStyle::Icon;
    for (int i = std::max(first, 0); i <= last && i < int(FShellItems.size()); ++i) {
        TShellItem& item = FShellItems[std::size_t(i)];
        if (!item.NeedsDetails)
            continue;
        item.FullIdList = platform::IdList(platform::IdListConcat(FCurrentIdList.get(), item.ChildIdList.get()));
        item.IconIndex = ns.iconIndex(item.FullIdList.get(), large, false);
        item.TypeName = ns.typeName(item.FullIdList.get());
        platform::ShellFindData data = FCurrentFolder->findData(item.ChildIdList.get());
        item.SizeKB = SizeKBOf(data.size);
        item.LastWriteTime = data.lastWriteTime;
        item.ModifiedText = ModifiedTextOf(data.lastWriteTime);
        item.Attributes = std::int32_t(data.attributes);
        item.NeedsDetails = false;
    }
}

void TFrm_Main::BrowseToParent() {
    platform::IdList q = platform::IdList::copyOf(FCurrentIdList.get());
    platform::IdListParent(q.get());
    if (q && !platform::IdListIsEmpty(q.get()) && Trim(PathBoxText()).size() > 3)
        BrowseToIdList(q.get());
    else
        BrowseToIdList(platform::shellNamespace().myComputer().get());
    Sb_Status.setCaption(kBackStatus);
    L_Dir.setCaption(PathBoxText());
    if (Setting && Setting->IfShowChart)
        RedrawFolderChart();
    else if (PathBoxText() == kMyComputer)
        ShowDriveBars();
    UpdateFolderDetails(true);
}

void TFrm_Main::OpenSelectedEntry() {
    int row = ListView.itemIndex();
    if (TShellItem* item = ShellItem(row)) {
        ClearStop();
        if (FCurrentFolder && FCurrentFolder->isFolder(item->ChildIdList.get())) {
            platform::IdList full(platform::IdListConcat(FCurrentIdList.get(), item->ChildIdList.get()));
            BrowseToIdList(full.get());
        } else {
            HourGlass busy;
            std::string path = JoinPath(PathBoxText(), item->DisplayName);
            L_Dir.setCaption(path);
            Open(path, SW_SHOWNORMAL);
        }
    }
    if (Setting && Setting->IfShowChart) {
        HourGlass busy;
        L_Dir.setCaption(PathBoxText());
        RedrawFolderChart();
        UpdateFolderDetails(false);
    }
}

void TFrm_Main::cbPathClick() {
    int i = cbPath.itemIndex();
    if (i < 0 || cbPath.items()[std::size_t(i)].text != cbPath.text())
        i = cbPath.indexOf(cbPath.text());
    if (i >= 0) {
        // A copy: browsing inserts entries and so moves the one chosen.
        platform::IdList list = std::any_cast<const PathEntry&>(cbPath.items()[std::size_t(i)].value).idList;
        BrowseToIdList(list.get());
    } else {
        BrowseToPath(cbPath.text());
    }
}

void TFrm_Main::UpdateFolderDetails(bool nameFallback) {
    std::string text = PathBoxText();
    if (text == kMyComputer) {
        LDirName.setCaption(kMyComputer);
        return;
    }
    std::size_t slash = text.rfind('\\');
    std::string name = slash == std::string::npos ? text : text.substr(slash + 1);
    if (nameFallback && name.empty())
        name = text;
    LDirName.setCaption(name);
    if (text.size() > 3) {
        FileTimeTexts t = FileTimesText(text);
        lCreateDate.setCaption(t.creation);
        lModifyDate.setCaption(t.lastWrite);
    } else {
        lCreateDate.setCaption("");
        lModifyDate.setCaption("");
    }
}

// ---- The entry list ----

void TFrm_Main::ListViewData(toolkit::ListItem& item) {
    TShellItem* entry = ShellItem(item.index);
    if (!entry)
        return;
    item.caption = entry->DisplayName;
    item.imageIndex = entry->IconIndex;
    if (ListView.viewStyle() != toolkit::ViewStyle::Report)
        return;
    std::string size;
    if (entry->IsFolder) {
        std::string box = PathBoxText();
        std::string drive = DriveTextOf(box, entry->DisplayName);
        bool underComputer = box.compare(0, 2, "::") == 0 || box == kMyComputer;
        if (!drive.empty() && drive[0] >= 'A' && drive[0] <= 'Y') {
            // A drive row under "My Computer": its free and total space from the drive table.
            // The text begins with a word, not a digit: a digit marks a file row.
            if (FDisk && underComputer) {
                TDriveRecord r = FDisk->DriveInfo(drive[0] - 'A' + 1);
                if (r.DriveNo && r.DriveSize > 0 && r.DriveFree >= 0)
                    size = "可用 " + SizeText((r.DriveFree + 1023) / 1024) + " / 共 " +
                           SizeText((r.DriveSize + 1023) / 1024);
            }
        } else if (!drive.empty()) {
            size = "System Disk ";
        }
    } else {
        size = entry->NeedsDetails ? "0KB" : SizeText(std::int64_t(entry->SizeKB));
    }
    item.subItems = {size, entry->TypeName, entry->ModifiedText, AttributeLetters(std::uint32_t(entry->Attributes))};
}

void TFrm_Main::ListViewDataHint(int from, int to) {
    int n = int(FShellItems.size());
    if (from >= 0 && to >= from && to < n)
        CheckShellItems(from, to);
}

int TFrm_Main::ListViewDataFind(toolkit::FindKind kind, const std::string& text, int start, bool wrap) {
    if (kind != toolkit::FindKind::Partial && kind != toolkit::FindKind::Exact)
        return -1;
    return FindEntryByPrefix(FShellItems, text, start, wrap);
}

void TFrm_Main::ListViewColumnClick(int column) {
    if (column < 0 || column >= int(ListView.columns().size()))
        return;
    SortColumn = column;
    // Every column but the names needs the details of every entry.
    if (column != 0)
        CheckShellItems(0, int(FShellItems.size()) - 1);
    bool descending = SortDescending;
    std::stable_sort(FShellItems.begin(), FShellItems.end(), [column, descending](const TShellItem& a, const TShellItem& b) {
        int c = CompareEntries(a, b, column);
        return descending ? c > 0 : c < 0;
    });
    SortDescending = !SortDescending;
    ListView.invalidate();
}

void TFrm_Main::ListViewCustomDrawItem(int index, int subItem, toolkit::ItemStyle& style) {
    TShellItem* entry = ShellItem(index);
    if (!entry || subItem != 0)
        return;
    if (entry->Attributes & platform::FA_READONLY)
        style.textColor = toolkit::Color::Gray;
    if (entry->Attributes & platform::FA_HIDDEN)
        style.strikeOut = true;
    if (entry->Attributes & platform::FA_SYSTEM)
        style.textColor = toolkit::Color::Navy; // the highlight colour
}

void TFrm_Main::ListViewKeyDown(int& key) {
    switch (key) {
    case toolkit::VK_BACK:
        key = 0;
        BrowseToParent();
        break;
    case toolkit::VK_RETURN:
        key = 0;
        OpenSelectedEntry();
        break;
    case toolkit::VK_DELETE:
        key = 0;
        N_DeleteClick();
        break;
    default: break;
    }
}

void TFrm_Main::btnViewStyleClick(const toolkit::Button& pressed) {
    static const toolkit::ViewStyle styles[] = {toolkit::ViewStyle::Icon, toolkit::ViewStyle::SmallIcon,
                                                toolkit::ViewStyle::List, toolkit::ViewStyle::Report};
    int tag = pressed.tag();
    if (tag >= 0 && tag < 4)
        ListView.setViewStyle(styles[tag]);
    ListView.invalidate();
}

// ---- The charts ----

void TFrm_Main::ShowDriveBars() {
    if (FDisk)
        Charts.ShowDriveBars(*FDisk);
}

void TFrm_Main::RedrawFolderChart() {
    if (L_Dir.caption().empty() || L_Dir.caption() == kMyComputer)
        ShowDriveBars();
    else
        ShowFolderPie(L_Dir.caption());
}

void TFrm_Main::RzToolbarButton11Click() {
    HourGlass busy;
    L_Dir.setCaption(PathBoxText());
    RedrawFolderChart();
    UpdateFolderDetails(false);
    Chart_Dir.repaint();
    Chart_Disk.repaint();
}

void TFrm_Main::RzToolbarButton2Click() {
    if (Dlg_OpenDialog.execute())
        Chart_Dir.saveToFile(Dlg_OpenDialog.fileName);
}

void TFrm_Main::Sp_UpDirClick() {
    if (Setting && Setting->IfShowChart) {
        HourGlass busy;
        RedrawFolderChart();
    }
}

void TFrm_Main::Series1Click(int index, toolkit::MouseButton button) {
    if (button != toolkit::MouseButton::Right)
        return;
    auto slices = Series1.slices();
    if (index < 0 || index >= int(slices.size()))
        return;
    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    tk.messageBox(SliceDetailsText(slices[std::size_t(index)], Series1.total()), tk.applicationTitle(), toolkit::MB_OK);
}

void TFrm_Main::Series1DblClick(int index) {
    HourGlass busy;
    auto slices = Series1.slices();
    if (index < 0 || index >= int(slices.size()))
        return;
    // A folder's slice is entered: only the chart goes one level deeper. A file's slice
    // and the group of small ones have nothing to enter and show their figures.
    std::string folder = Charts.pie().folderOfSlice(index);
    if (!folder.empty()) {
        ShowFolderPie(folder);
        return;
    }
    toolkit::Toolkit& tk = toolkit::Toolkit::current();
    tk.messageBox(SliceNoteText(slices[std::size_t(index)], Series1.total()), tk.applicationTitle(), toolkit::MB_OK);
}

void TFrm_Main::Series4DblClick(int index) {
    HourGlass busy;
    if (!FDisk || index < 0 || index >= Series3.count())
        return;
    std::string root = DriveOfBar(Series3.points()[std::size_t(index)].label, *FDisk);
    if (!root.empty())
        ShowFolderPie(root);
}

// ---- The commands on the selected entry ----

bool TFrm_Main::SelectedRow(std::string& caption, bool& fileRow) {
    int row = ListView.itemIndex();
    if (row < 0 || row >= int(FShellItems.size()))
        return false;
    toolkit::ListItem item;
    item.index = row;
    CheckShellItems(row, row);
    ListViewData(item);
    caption = item.caption;
    fileRow = IsFileRow(item.subItems.empty() ? std::string() : item.subItems[0]);
    return true;
}

void TFrm_Main::N15Click() {
    std::string caption;
    bool fileRow = false;
    if (SelectedRow(caption, fileRow))
        Open(EntryPath(PathBoxText(), caption), SW_SHOW);
}

void TFrm_Main::AnalyzeThisDiectory1Click() {
    try {
        std::string caption;
        bool fileRow = false;
        bool selected = SelectedRow(caption, fileRow);
        std::string path = AnalyzeTarget(PathBoxText(), selected, caption);
        toolkit::Toolkit::current().processMessages();
        if (PathBoxText() != kMyComputer)
            AnalyzeFolderPie(path);
        else
            ShowFolderPie(path);
    } catch (...) {
        // Analyze reports nothing: a folder it cannot chart gives an empty pie.
    }
}

void TFrm_Main::ClearUpGarbage1Click() {
    std::string caption;
    bool fileRow = false;
    if (!SelectedRow(caption, fileRow) || fileRow || !Setting)
        return;
    Setting->Directorys.Clear();
    TDirectory& d = Setting->Directorys.Add();
    d.Path = EntryPath(PathBoxText(), caption);
    d.IncludeSubDir = true;
    d.IfClean = true;
    ShowCleaningWindow();
}

void TFrm_Main::N_DeleteClick() {
    try {
        std::string caption;
        bool fileRow = false;
        if (SelectedRow(caption, fileRow)) {
            std::string path = EntryPath(PathBoxText(), caption);
            toolkit::Toolkit& tk = toolkit::Toolkit::current();
            // Nothing goes for good on one key press: the user says yes first.
            if (tk.messageBox(DeleteQuestion(path, fileRow), Form::caption(),
                              toolkit::MB_YESNO | toolkit::MB_ICONQUESTION | toolkit::MB_DEFBUTTON2) != toolkit::IDYES)
                return;
            if (fileRow)
                platform::files().deleteFile(path);
            else
                DeleteFolderContents(path, [this] { Sb_Status.setCaption(""); });
        }
    } catch (...) {
    }
    std::string text = PathBoxText();
    if (!text.empty() && text.back() == ':')
        text += '\\';
    // "My Computer" is no parsing name: it is listed again by its identifier list.
    if (text == kMyComputer)
        BrowseToIdList(platform::shellNamespace().myComputer().get());
    else
        BrowseToPath(text);
}

void TFrm_Main::N_AttribClick() {
    std::string caption;
    bool fileRow = false;
    if (SelectedRow(caption, fileRow))
        platform::shell().execute({"properties", EntryPath(PathBoxText(), caption), "", 0});
}
