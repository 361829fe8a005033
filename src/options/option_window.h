#pragma once
// The options window: edits the shared settings object and the list of protected files in
// five tabs (privacy items, junk patterns, directories to clean, switches, protected files).
#include <array>
#include <string>

#include "app/directory_dialog.h"
#include "settings/setting.h"
#include "toolkit/check_list.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/page_control.h"
#include "toolkit/switch_grid.h"

class TfrmOption : public toolkit::Form {
public:
    TfrmOption();

    toolkit::PageControl Pc_Project;
    toolkit::TabSheet Ts_CleanSys, Ts_FileType, Ts_CleanDirectory, tsOption, tsIgnore;
    // Ts_CleanSys
    toolkit::CheckList clCleanOption;
    // Ts_FileType
    toolkit::ListView Lv_GarbageList;
    toolkit::CheckBox cbSelectAll;
    toolkit::Button btnDelFilter, btnAddFilter;
    // Ts_CleanDirectory
    toolkit::ListView Lv_DirList;
    toolkit::CheckBox Cb_IfSubDir;
    toolkit::Button btnDelCleanDir, btnAddCleanDir;
    TDirectoryDialog DirectoryDialog1;
    // tsOption
    toolkit::SwitchGrid Inspect;
    // tsIgnore
    toolkit::ListView lbIgnoreList;
    toolkit::Button btnDelList, btnAdd;
    // Below the tabs
    toolkit::Button RzButton6, RzButton1;

    // The rows of Inspect, in order, and the setting behind each Boolean row (the integer
    // row, SlicePercent, has none here).
    static constexpr int SwitchCount = 9;
    static constexpr int SliceRow = 2;
    struct SwitchSpec {
        const char* caption;
        bool TSetting::*flag; // nullptr for the integer row
    };
    static const std::array<SwitchSpec, SwitchCount>& Switches();

    // The type name shown for a drive type code.
    static std::string DriveTypeName(int type);

    void FormShow();
    void FormClose(toolkit::CloseAction& action);
    void clCleanOptionChange(int index, toolkit::CheckState state);
    void cbSelectAllClick();
    void btnAddFilterClick();
    void btnDelFilterClick();
    void btnAddCleanDirClick();
    void btnDelCleanDirClick();
    void Cb_IfSubDirClick();
    void btnAdd2Click();
    void btnDelListClick();
    void btnApplyClick();
    void RzButton6Click();
    void RzButton1Click();

private:
    void FillDrives();
    void FillIgnoreList();
    void FillPatterns();
    void FillPrivacyItems();
    void FillSwitches();
    void SaveIgnoreList();

    // The protected-file list could not be read when the window opened: it is then not
    // written back, so the entries nobody saw are not lost.
    bool ignoreListUnread_ = false;
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmOption* frmOption;
