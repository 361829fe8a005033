#pragma once
// The program manager window: the programs registered as installed, by category, with
// the space their folders take; ticked programs have their uninstallers started.
#include <memory>
#include <string>
#include <vector>

#include "programs/file_kind.h"
#include "programs/uninstall.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/tree_view.h"

class TfrmUninstall : public toolkit::Form {
public:
    TfrmUninstall();
    ~TfrmUninstall() override;

    toolkit::Panel Panel1;
    toolkit::Label Label1, Label2;
    toolkit::TreeView tvFileType;
    toolkit::Panel Splitter1;
    toolkit::ListView Lv_UninstallList;
    toolkit::Panel Panel2;
    toolkit::Label Label3;
    toolkit::Button Btn_Uninstall, btnClose;
    // Says why an uninstaller could not be started.
    toolkit::StatusBar Sb_status;

    // The uninstall entries of the machine, below HKEY_LOCAL_MACHINE.
    static constexpr const char* kUninstallKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

    // The sort state every program manager window shares for the life of the process.
    static int SortColumn;
    static bool SortDescending;

    // The categories of the last load (nullptr before the first).
    TFileKindList* Kinds() const { return kinds_.get(); }

    void FormShow();
    void LoadProgramList();
    void Lv_UninstallListColumnClick(int column);
    // < 0, 0 or > 0 as program a goes before, with or after program b under the sort state.
    int Lv_UninstallListCompare(const TUninstall& a, const TUninstall& b) const;
    void Btn_UninstallClick();
    void btnCloseClick();
    void tvFileTypeChange(toolkit::TreeNode* node);

private:
    // Reads one entry; nullptr when it is not listed. Throws when its values cannot be read.
    std::unique_ptr<TUninstall> ReadEntry(const std::string& keyName);
    void AddRow(TUninstall& program);
    // The node texts with the number of programs of each category.
    void FillNodeCounts();

    std::unique_ptr<TFileKindList> kinds_;
    std::vector<std::unique_ptr<TUninstall>> programs_; // of the last load
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmUninstall* frmUninstall;
