#pragma once
// The cleaning window: finds junk files and deletes the ones the user leaves ticked.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cleaner/junk_scanner.h"
#include "settings/setting.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/list_view.h"
#include "toolkit/menu.h"
#include "toolkit/timer.h"

class TfrmCleaning : public toolkit::Form, private JunkScanSink {
public:
    TfrmCleaning();
    ~TfrmCleaning() override;

    toolkit::Label Label1, Label3;
    toolkit::Edit lCleanupDir;
    toolkit::Button btnAddCleanDir;
    toolkit::ListView Lv_GarbageList; // a virtual list over Rows()
    toolkit::StatusBar Sb_status;
    toolkit::ProgressBar Pb_Process;
    toolkit::Button Btn_Scan, Btn_CleanAll;
    toolkit::CheckBox cbAutoClose;
    toolkit::Button RzBitBtn1;
    toolkit::Memo mIgnoreList;
    toolkit::Timer Timer1;
    toolkit::PopupMenu PM_FileOper;
    toolkit::MenuItem Open1, Explorerthedirectory1, DeleteD1, Attribute1;

    // The junk scan, and its counters and stop flag under the window's names.
    TJunkScanner Scanner{*this};
    std::int64_t& ScanCount = Scanner.ScanCount;
    std::int64_t& JunkCount = Scanner.JunkCount;
    std::int64_t& JunkSize = Scanner.JunkSize;
    bool& Running = Scanner.Running;

    // The findings, in list order.
    const std::vector<TJunkRow>& Rows() const { return rows_; }

    // The scan, by the scanner. ScanAll does nothing without a settings object.
    void ScanAll(TSetting* settings);
    void ScanFolder(const std::string& folder, const TSetting& settings, bool descend);

    // How long the scan may go without letting the window process its messages. Pumping
    // before every entry costs more than the walk; 0 pumps before every entry all the same.
    int PumpSliceMs = 5;

    // The sort state every cleaning window shares for the life of the process.
    static int SortColumn;
    static bool SortDescending;

    void FormShow();
    void FormClose(toolkit::CloseAction& action);
    void Timer1Timer();
    void Btn_ScanClick();
    void Btn_CleanAllClick();
    void Open1Click();
    void Explorerthedirectory1Click();
    void DeleteD1Click();
    void Attribute1Click();
    // < 0, 0 or > 0 as row a goes before, with or after row b under SortColumn.
    int Lv_GarbageListCompare(const TJunkRow& a, const TJunkRow& b) const;
    void Lv_GarbageListColumnClick(int column);
    void Lv_GarbageListDblClick();
    void btnAddCleanDirClick();
    void cbAutoCloseClick();
    void RzBitBtn1Click();

private:
    // What the scanner hands the window.
    Place NextPlace() const override;
    void AddFound(TJunkRow row) override;
    void AddEmptyFolder(TJunkRow row, Place place) override;
    void EnteredFolder(const std::string& folder) override;
    void CountsChanged() override;
    void ScannedFile(std::string_view name) override;
    // Lets the window process its messages once the time slice is over (or always).
    void Pump(bool always = false) override;
    void AddRow(TJunkRow row, bool scroll);

    // Hands what changed since the last repaint to the controls: new rows, one scroll,
    // the status texts, the progress and the caption.
    void FlushView();

    // Removes row i of the list.
    void RemoveRow(int index);
    bool SelectedCaption(std::string& caption) const;
    // Whether a ticked row still holds by the rule that listed it.
    static bool StillHolds(const TJunkRow& row, const std::string& path);

    std::vector<TJunkRow> rows_;
    // Counts the changes that move rows (removal, sorting, a new scan).
    unsigned rowsEpoch_ = 0;
    std::chrono::steady_clock::time_point lastPump_;
    // View state not yet handed to the controls.
    bool scrollPending_ = false;
    bool statusPending_ = false;
    bool countsPending_ = false;
    bool captionPending_ = false;
    std::string scanningName_, scanningFolder_;
    // The scan's bar runs 0 to kScanRange and wraps; progressPending_ when the walk moved it.
    static constexpr int kScanRange = 100;
    int progress_ = 0;
    bool progressPending_ = false;
};

// The program-wide reference; nullptr while no such window exists.
extern TfrmCleaning* frmCleaning;
