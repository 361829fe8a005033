#pragma once
// The disk space analyzer window: browses "My Computer", the drives and their folders,
// lists a folder's entries with their sizes, and opens the other tools.
#include <memory>
#include <string>
#include <vector>

#include "analyzer/entry_list.h"
#include "analyzer/space_chart.h"
#include "app/form_owner.h"
#include "platform/shell_namespace.h"
#include "toolkit/combo_box.h"
#include "toolkit/chart.h"
#include "toolkit/control.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/menu.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"
#include "toolkit/timer.h"

class TDisk;

// The private message a notification-area icon sends the window, the mouse message in
// its second parameter.
inline constexpr unsigned WM_TRAYNOTIFY = 0x0400 + 3000;
inline constexpr std::intptr_t WM_LBUTTONDOWN = 513;
inline constexpr std::intptr_t WM_RBUTTONDOWN = 516;

// The addresses the window's commands open and mail to.
extern const char* const kHomePage;
extern const char* const kWebSite;
extern const char* const kFriendAddress;
extern const char* const kSupportAddress;

// The two mail requests, as handed to the shell.
std::string TellAFriendMail();
std::string SupportMail();

class TFrm_Main : public toolkit::Form {
public:
    TFrm_Main();
    ~TFrm_Main() override;

    // Layout, top to bottom.
    toolkit::Panel Pc_Main, Ts_Disk;
    toolkit::PopupMenu MainMenu1;
    toolkit::MenuItem Disk1, DiskAnalyse1, New1, Open2, N2, Exit1;
    toolkit::MenuItem Scheme1, Manager1, NewScheme1;
    toolkit::MenuItem Tools1, Undo1, Repeatcommand1;
    toolkit::MenuItem Help1, ellafriend1, Contents1, Index1, About1;
    toolkit::Panel CoolBar, ToolBar1;
    toolkit::Button btnScan, btnWipe, SpeedButton2, SpeedButton5, btnHelp, btnExit;
    toolkit::Panel ToolBar2;
    toolkit::ComboBox cbPath;
    toolkit::Button btnBack, btnLargeIcons, btnSmallIcons, btnList, btnReport, ToolButton6;
    toolkit::CheckBox cbShowChart;
    toolkit::ListView ListView;
    toolkit::Panel pDirInfo, Panel4, PChart, pbk;
    toolkit::Button RzToolbarButton9, btnOption, RzToolbarButton12, RzToolbarButton13, btnMenu;
    toolkit::Label Label2, Label4, Label5, Label7, Label8;
    toolkit::Label L_Dir, LDirName, lCreateDate, lModifyDate;
    toolkit::Panel RzStatusBar1;
    toolkit::Label Sb_Status, RzClockStatus1;
    toolkit::Picture RzGlyphStatus1;
    toolkit::PopupMenu ToolBarMenu;
    toolkit::MenuItem MnuNew, N1, MnuMakeInactive, MnuShowAllAccounts;
    toolkit::PopupMenu Pm_Sys;
    toolkit::MenuItem StartScan1, StopScan1, N5, Minilize1, Maxilize1, N6, About2, QuitQ1;
    toolkit::PopupMenu PM_Files;
    toolkit::MenuItem N15, AnalyzeThisDiectory1, N3, ClearUpGarbage1, N_Delete, N19, N_Attrib;
    toolkit::BalloonHints RzBalloonHints1;
    toolkit::Timer T_Reg, ClockTimer;

    // The chart area: its tool bar, the two charts and the slice list.
    toolkit::Label Label1, Label3;
    toolkit::SpinEdit Sp_Slice;
    toolkit::ProgressBar Pb_Process;
    toolkit::Button RzToolbarButton11, RzToolbarButton1, RzToolbarButton2, btnZoomOut, btnZoomIn;
    toolkit::Button RzToolbarButton5, RzToolbarButton6, RzToolbarButton7, btnPie, btnBar, RzToolbarButton8;
    toolkit::Button SpeedButton14;
    toolkit::Chart Chart_Dir;
    toolkit::PieSeries Series1;
    toolkit::BarSeries Series5;
    toolkit::Label Label6;
    toolkit::Button SpeedButton3;
    toolkit::Chart Chart_Disk;
    toolkit::BarSeries Series4, Series3;
    toolkit::Label Label9, Label10;
    toolkit::PaintBox pInfo;
    toolkit::OpenDialog Dlg_OpenDialog;
    ChartArea Charts;

    // The charts.
    void ShowFolderPie(const std::string& folder) { Charts.ShowFolderPie(folder); }
    void AnalyzeFolderPie(const std::string& folder) { Charts.AnalyzeFolderPie(folder); }
    void ShowDriveBars();
    void RedrawFolderChart();
    void Sp_SliceChange() { Charts.Sp_SliceChange(); }
    void RzToolbarButton11Click();
    void RzToolbarButton1Click() { Chart_Dir.print(); }
    void RzToolbarButton2Click();
    void btnZoomOutClick() { Chart_Dir.zoom(2); }
    void btnZoomInClick() { Chart_Dir.zoom(0.5); }
    void RzToolbarButton5Click() { Charts.toggleCollapsed(); }
    void RzToolbarButton7Click() { pbk.setVisible(!pbk.visible()); }
    void Sp_UpDirClick();
    void Series1Click(int index, toolkit::MouseButton button);
    void Series1DblClick(int index);
    void Series4DblClick(int index);
    void Chart_DirAfterDraw() { pInfo.invalidate(); }
    void pInfoPaint(toolkit::Canvas& canvas) { PaintSliceList(SliceListRows(Series1), canvas); }

    // The commands on the selected entry.
    void N15Click();
    void AnalyzeThisDiectory1Click();
    void ClearUpGarbage1Click();
    void N_DeleteClick();
    void N_AttribClick();

    // Window events.
    void FormShow();
    void FormClose(toolkit::CloseAction& action);
    void FormDestroy();
    void FormKeyDown(int& key);
    void FormResize() {}
    void TrayMessage(std::intptr_t mouseMessage);
    void T_RegTimer();

    // Commands.
    void btnProbeClick();
    void btnWipeClick();
    void SpeedButton2Click();
    void SpeedButton5Click();
    void SpeedButton1Click();
    void btnExitClick();
    void Exit1Click();
    void Rg_ToolsItems0Click();
    void Rg_ToolsItems1Click();
    void ellafriend1Click();
    void Rg_AboutItems0Click();
    void Rg_AboutItems1Click();
    void RzToolbarButton9Click();
    void btnOptionClick();
    void RzToolbarButton12Click();
    void RzToolbarButton13Click();
    void MnuNewClick();
    void MnuMakeInactiveClick();
    void MnuShowAllAccountsClick();
    void Minilize1Click();
    void Maxilize1Click();
    void QuitQ1Click();
    void cbShowChartClick();

    // Navigation.
    void BrowseToIdList(platform::ConstItemIdList absolute);
    void BrowseToPath(const std::string& text);
    void PopulateIDList(std::shared_ptr<platform::ShellFolder> folder);
    void ClearIDList();
    // The entry of row `index`, or nullptr beyond the list.
    TShellItem* ShellItem(int index);
    void CheckShellItems(int first, int last);
    void BrowseToParent();
    void OpenSelectedEntry();
    void cbPathClick();
    void UpdateFolderDetails(bool nameFallback);

    // The entry list.
    void ListViewData(toolkit::ListItem& item);
    void ListViewDataHint(int from, int to);
    int ListViewDataFind(toolkit::FindKind kind, const std::string& text, int start, bool wrap);
    void ListViewColumnClick(int column);
    void ListViewCustomDrawItem(int index, int subItem, toolkit::ItemStyle& style);
    void ListViewKeyDown(int& key);
    void ListViewDblClick() { OpenSelectedEntry(); }
    void btnViewStyleClick(const toolkit::Button& pressed);

    const std::vector<TShellItem>& ShellItems() const { return FShellItems; }
    const std::string& CurrentPath() const { return FCurrentPath; }
    platform::ConstItemIdList CurrentIdList() const { return FCurrentIdList.get(); }
    const TDisk* DriveTable() const { return FDisk.get(); }

    // What a path box entry carries: the folder's parsing name and its identifier list,
    // owned by the entry for as long as it exists.
    struct PathEntry {
        std::string parsingName;
        platform::IdList idList;
    };

    // The windows this one created.
    FormOwner& Components() { return components_; }

private:
    void SetUpCharts();
    // The selected row's caption and whether it is a file row; false with no row selected.
    bool SelectedRow(std::string& caption, bool& fileRow);
    // Opens the cleaning window modally: the existing one, or one owned here.
    void ShowCleaningWindow();
    void Open(const std::string& file, int show);
    std::string PathBoxText() const;

    std::shared_ptr<platform::ShellFolder> FDesktopFolder;
    std::shared_ptr<platform::ShellFolder> FCurrentFolder;
    platform::IdList FCurrentIdList;
    std::string FCurrentPath;
    std::vector<TShellItem> FShellItems;
    std::unique_ptr<TDisk> FDisk;
    FormOwner components_;
};

// The program-wide reference; nullptr while no such window exists.
extern TFrm_Main* Frm_Main;
