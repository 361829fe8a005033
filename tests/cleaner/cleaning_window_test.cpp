#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "app/entry_point.h"
#include "app/start_window.h"
#include "cleaner_fixture.h"
#include "platform/platform.h"
#include "app/directory_dialog.h"
#include "settings/settings_files.h"

namespace fs = std::filesystem;
using cleanertest::CleanerTest;
using Strings = std::vector<std::string>;

namespace {

const char* const kIdle = "开始清理 (&S)";
const char* const kBusy = "暂停 (&P) ||";

// Marks the folders below one drive path as the operating system's own.
class SystemAreaAt : public platform::System {
public:
    explicit SystemAreaAt(std::string area) : area_(std::move(area)), saved_(platform::services()) {
        inner_ = saved_.system;
        platform::Services s = saved_;
        s.system = this;
        platform::install(s);
    }
    ~SystemAreaAt() override { platform::install(saved_); }
    std::string programFolder() override { return inner_->programFolder(); }
    std::string currentFolder() override { return inner_->currentFolder(); }
    const platform::DriveMap& driveMap() override { return inner_->driveMap(); }
    platform::MutexResult acquireMutex(const std::string& n, std::unique_ptr<platform::NamedMutex>& h) override {
        return inner_->acquireMutex(n, h);
    }
    std::optional<std::string> environment(const std::string& n) override { return inner_->environment(n); }
    bool inSystemArea(const std::string& path) override { return path.rfind(area_, 0) == 0; }

private:
    std::string area_;
    platform::Services saved_;
    platform::System* inner_;
};

struct Window : CleanerTest {
    Window() {
        TfrmCleaning::SortColumn = 0;
        TfrmCleaning::SortDescending = true;
    }
    int rowOf(const std::string& caption) const {
        for (int i = 0; i < form.Lv_GarbageList.count(); ++i)
            if (form.Rows()[size_t(i)].caption == caption)
                return i;
        return -1;
    }
    void untick(const std::string& caption) {
        int i = rowOf(caption);
        ASSERT_GE(i, 0) << caption;
        form.Lv_GarbageList.userToggleCheck(i);
    }
    void select(const std::string& caption) {
        int i = rowOf(caption);
        ASSERT_GE(i, 0) << caption;
        form.Lv_GarbageList.userSelect(i);
    }
    void press(toolkit::Control& c) {
        toolkit::dispatch([&] { c.click(); });
    }
    // Opens the window (as its modal run would show it) and lets the first second pass.
    void openAndWait() {
        form.show();
        tk.advance(1000);
    }
};

} // namespace

TEST_F(Window, CarriesItsControlsAndTexts) {
    EXPECT_EQ(form.caption(), "磁盘垃圾文件清理");
    EXPECT_EQ(form.Label3.caption(), "清理磁盘目录 :");
    EXPECT_EQ(form.lCleanupDir.text(), "c:\\");
    EXPECT_TRUE(form.lCleanupDir.readOnly());
    EXPECT_EQ(form.btnAddCleanDir.caption(), "选择需要清理的磁盘目录");
    Strings titles;
    for (const auto& c : form.Lv_GarbageList.columns())
        titles.push_back(c.caption);
    EXPECT_EQ(titles, (Strings{"文件名称", "文件大小", "创建日期", "最后修改日期", "最后读取日期"}));
    EXPECT_TRUE(form.Lv_GarbageList.checkBoxes());
    EXPECT_TRUE(form.Lv_GarbageList.ownerData());
    EXPECT_EQ(form.Lv_GarbageList.popupMenu, &form.PM_FileOper);
    EXPECT_EQ(form.Sb_status.panelText(0), "正在磁盘文件分析和清理中 ......");
    EXPECT_EQ(form.Sb_status.panelText(1), "");
    EXPECT_EQ(form.Btn_Scan.caption(), kIdle);
    EXPECT_EQ(form.Btn_CleanAll.caption(), "删除垃圾文件 (&C)");
    EXPECT_EQ(form.cbAutoClose.caption(), "完成清理后自动关机");
    EXPECT_EQ(form.RzBitBtn1.caption(), "完  成 (&E)");
    EXPECT_FALSE(form.mIgnoreList.visible());
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(form.Timer1.interval(), 1000);
    Strings items;
    for (auto* m : form.PM_FileOper.items)
        items.push_back(m->caption());
    EXPECT_EQ(items, (Strings{"&Open...", "&Explorer the directory", "&Delete", "Attribute"}));
}

TEST_F(Window, OpeningScansOneSecondLaterAndClearsTheShutDownBox) {
    settings.AutoCleanShutDown = true;
    settings.IfCleanZeroFile = true;
    file("D:\\e.log");
    directory("D:\\");
    SaveLinesToFile(folder.file("Option2.CFG"), {"A.TMP", "b.bak"});
    form.show();
    EXPECT_TRUE(form.cbAutoClose.checked());
    EXPECT_EQ(form.mIgnoreList.lines(), (Strings{"A.TMP", "b.bak"}));
    tk.advance(999);
    EXPECT_EQ(form.Lv_GarbageList.count(), 0);
    tk.advance(1);
    EXPECT_EQ(captions(), Strings{"D:\\e.log"});
    EXPECT_FALSE(form.cbAutoClose.checked());
    EXPECT_FALSE(settings.AutoCleanShutDown);
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_EQ(form.Btn_Scan.caption(), kIdle);
    EXPECT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_TRUE(machine.machine().exitRequests.empty());
}

TEST_F(Window, AWindowClosedWithinItsFirstSecondDoesNotScanLater) {
    directory("D:\\");
    tk.onModal("TfrmCleaning", [&](toolkit::Form&) { tk.advance(500); });
    form.showModal();
    tk.advance(2000);
    EXPECT_FALSE(form.Timer1.enabled());
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(Window, AMissingIgnoreListIsAnEmptyOneAndTheWindowStillScans) {
    settings.IfCleanZeroFile = true;
    file("D:\\e.log");
    directory("D:\\");
    form.mIgnoreList.setLines({"old"});
    openAndWait();
    EXPECT_TRUE(form.mIgnoreList.lines().empty());
    EXPECT_EQ(captions(), Strings{"D:\\e.log"});
    ASSERT_EQ(tk.messageBoxes.size(), 1u); // the summary, nothing about the file
}

TEST_F(Window, ATimerTickDuringTheUsersScanDoesNotStopIt) {
    for (int i = 0; i < 5; ++i)
        file("D:\\f" + std::to_string(i));
    directory("D:\\");
    form.show();
    // The user starts at once; the second is over while the scan runs.
    tk.queue([&] { tk.advance(1000); }, 2);
    press(form.Btn_Scan);
    EXPECT_EQ(form.ScanCount, 5);
    EXPECT_EQ(tk.messageBoxes.size(), 1u); // one scan, not a second one after it
    EXPECT_FALSE(form.Timer1.enabled());
}

TEST_F(Window, PressingTheButtonDuringAScanStopsItAndTheNextPressStartsAfresh) {
    for (int i = 0; i < 6; ++i)
        file("D:\\f" + std::to_string(i));
    directory("D:\\");
    std::string during;
    tk.queue([&] {
        during = form.Btn_Scan.caption();
        form.Btn_Scan.click();
    }, 3);
    press(form.Btn_Scan);
    EXPECT_EQ(during, kBusy);
    EXPECT_EQ(form.ScanCount, 2);
    EXPECT_EQ(form.Btn_Scan.caption(), kIdle);
    EXPECT_NE(lastMessage().find("[共分析文件数量]: 2 "), std::string::npos);
    press(form.Btn_Scan);
    EXPECT_EQ(form.ScanCount, 6);
}

TEST_F(Window, TickingTheShutDownBoxDuringAScanPowersOffInsteadOfTheSummary) {
    settings.IfCleanZeroFile = true;
    file("D:\\keep.log");
    directory("D:\\");
    machine.machine().version = platform::OsVersion{5, 1, 2600, platform::VER_PLATFORM_WIN32_NT, "Service Pack 2"};
    tk.queue([&] { form.cbAutoClose.click(); }, 1);
    press(form.Btn_Scan);
    EXPECT_TRUE(settings.AutoCleanShutDown);
    EXPECT_TRUE(tk.messageBoxes.empty());
    EXPECT_EQ(machine.machine().exitRequests, std::vector<unsigned>{platform::EWX_POWEROFF | platform::EWX_FORCE});
    EXPECT_TRUE(exists("D:\\keep.log"));
    EXPECT_EQ(form.Lv_GarbageList.count(), 1);
}

TEST_F(Window, ClosingDuringAScanStopsIt) {
    for (int i = 0; i < 6; ++i)
        file("D:\\f" + std::to_string(i));
    directory("D:\\");
    for (bool closeBox : {false, true}) {
        tk.onModal("TfrmCleaning", [&](toolkit::Form&) {
            tk.queue([&] { closeBox ? form.close() : form.RzBitBtn1.click(); }, 3);
            tk.advance(1000);
        });
        EXPECT_EQ(form.showModal(), toolkit::mrCancel);
        EXPECT_EQ(form.ScanCount, 1) << closeBox;
        EXPECT_FALSE(form.visible());
        EXPECT_EQ(form.Btn_Scan.caption(), kIdle);
    }
    EXPECT_EQ(tk.messageBoxes.size(), 2u);
}

TEST_F(Window, DeletingKeepsWhatWasNotDeletedTickedAndSaysSo) {
    settings.IfCleanZeroFile = true;
    settings.IfCleanZeroDir = true;
    pattern("*.TMP");
    file("D:\\X\\E.LOG");              // ticked: deleted
    file("D:\\keep.log");              // unticked: stays on disk, leaves the list
    file("C:\\WINDOWS\\A.TMP", 4);     // the two words: kept
    machine.makeDir("D:\\OLD\\a\\b");  // an empty tree: removed whole
    file("D:\\SYS\\conf");             // a system area: kept
    file("D:\\grown.log");             // written to since the scan: kept
    machine.makeDir("D:\\filled");     // filled since the scan: kept
    file("D:\\gone.log");              // gone since the scan: kept
    directory("C:\\WINDOWS");
    directory("D:\\");
    SystemAreaAt area("D:\\SYS");
    scan();
    untick("D:\\keep.log");
    file("D:\\grown.log", 3);
    file("D:\\filled\\new.txt");
    fs::remove(machine.native("D:\\gone.log"));
    press(form.Btn_CleanAll);

    EXPECT_FALSE(exists("D:\\X\\E.LOG"));
    EXPECT_FALSE(exists("D:\\OLD"));
    for (const char* kept : {"D:\\keep.log", "C:\\WINDOWS\\A.TMP", "D:\\SYS\\conf", "D:\\grown.log", "D:\\filled\\new.txt"})
        EXPECT_TRUE(exists(kept)) << kept;
    Strings left = captions();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (Strings{"C:\\WINDOWS\\A.TMP", "D:\\SYS\\conf", "D:\\filled<Dir>", "D:\\gone.log", "D:\\grown.log"}));
    for (int i = 0; i < form.Lv_GarbageList.count(); ++i)
        EXPECT_TRUE(form.Lv_GarbageList.item(i).checked) << i;
    EXPECT_EQ(form.Sb_status.panelText(0), "删除完成: 已删除 4 项, 保留 5 项 (受保护区域 2 项, 无法删除或已改变 3 项)");
    EXPECT_EQ(tk.cursor(), toolkit::Cursor::Default);
    EXPECT_EQ(form.JunkCount, 5); // the counters keep their values
}

TEST_F(Window, ASingleRowsDeleteRemovesTheRowOnlyWhenTheDeletionWorked) {
    settings.IfCleanZeroFile = true;
    settings.IfCleanZeroDir = true;
    file("D:\\a.log");
    machine.makeDir("D:\\E");
    machine.makeDir("D:\\N\\inner"); // listed empty, but not removable as one folder
    directory("D:\\", false);
    scan();
    ASSERT_EQ(captions(), (Strings{"D:\\a.log", "D:\\E<Dir>", "D:\\N<Dir>"}));
    press(form.DeleteD1); // nothing selected: nothing happens
    EXPECT_EQ(form.Lv_GarbageList.count(), 3);
    select("D:\\a.log");
    press(form.DeleteD1);
    select("D:\\E<Dir>");
    press(form.DeleteD1);
    EXPECT_FALSE(exists("D:\\a.log"));
    EXPECT_FALSE(exists("D:\\E"));
    select("D:\\N<Dir>");
    press(form.DeleteD1);
    EXPECT_TRUE(exists("D:\\N\\inner"));
    EXPECT_EQ(captions(), Strings{"D:\\N<Dir>"});
    EXPECT_EQ(form.Sb_status.panelText(0).rfind("删除 [D:\\N<Dir>] 失败 : ", 0), 0u);
    EXPECT_GT(form.Sb_status.panelText(0).size(), std::string("删除 [D:\\N<Dir>] 失败 : ").size());
}

TEST_F(Window, ASingleRowsDeleteLeavesAnEmptyFileThatWasWrittenToSinceTheScan) {
    settings.IfCleanZeroFile = true;
    file("D:\\a.log");
    directory("D:\\");
    scan();
    file("D:\\a.log", 5);
    select("D:\\a.log");
    press(form.DeleteD1);
    EXPECT_EQ(machine.readFile("D:\\a.log"), "xxxxx");
    EXPECT_EQ(captions(), Strings{"D:\\a.log"});
    EXPECT_EQ(form.Sb_status.panelText(0), "删除 [D:\\a.log] 失败 : 扫描后文件已改变");
}

TEST_F(Window, ShellActionsOnTheSelectedRow) {
    settings.IfCleanZeroFile = true;
    file("D:\\X\\e.log");
    directory("D:\\");
    scan();
    for (auto* item : {&form.Open1, &form.Explorerthedirectory1, &form.Attribute1})
        press(*item);
    form.Lv_GarbageList.dblClick();
    EXPECT_TRUE(machine.shell().requests.empty()); // nothing selected
    select("D:\\X\\e.log");
    press(form.Open1);
    form.Lv_GarbageList.dblClick();
    press(form.Explorerthedirectory1);
    press(form.Attribute1);
    auto& r = machine.shell().requests;
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[0].verb, "open");
    EXPECT_EQ(r[0].file, "D:\\X\\e.log");
    EXPECT_EQ(r[0].show, 1);
    EXPECT_EQ(r[1].file, "D:\\X\\e.log");
    EXPECT_EQ(r[2].verb, "open");
    EXPECT_EQ(r[2].file, "D:\\X\\");
    EXPECT_EQ(r[3].verb, "properties");
    EXPECT_EQ(r[3].file, "D:\\X\\e.log");
    EXPECT_EQ(r[3].show, 0);
}

TEST_F(Window, SortingAlternatesOneDirectionFlagAcrossColumnsAndWindows) {
    pattern("*.TMP");
    file("C:\\WINDOWS\\b.TMP", 30);
    file("C:\\WINDOWS\\A.TMP", 5);
    file("C:\\WINDOWS\\c.TMP", 1000);
    auto day = [&](const char* f, int daysAgo) {
        fs::last_write_time(machine.native(f), fs::file_time_type::clock::now() - std::chrono::hours(24 * daysAgo));
    };
    day("C:\\WINDOWS\\b.TMP", 3);
    day("C:\\WINDOWS\\A.TMP", 1);
    day("C:\\WINDOWS\\c.TMP", 2);
    directory("C:\\WINDOWS");
    scan();
    form.Lv_GarbageList.userColumnClick(1); // first click: descending
    EXPECT_EQ(captions(), (Strings{"C:\\WINDOWS\\c.TMP", "C:\\WINDOWS\\b.TMP", "C:\\WINDOWS\\A.TMP"}));
    form.Lv_GarbageList.userColumnClick(0); // next, on another column: ascending
    EXPECT_EQ(captions(), (Strings{"C:\\WINDOWS\\A.TMP", "C:\\WINDOWS\\b.TMP", "C:\\WINDOWS\\c.TMP"}));
    form.Lv_GarbageList.userColumnClick(3); // last write, descending: newest first
    EXPECT_EQ(captions(), (Strings{"C:\\WINDOWS\\A.TMP", "C:\\WINDOWS\\c.TMP", "C:\\WINDOWS\\b.TMP"}));
    // The checks travel with their rows.
    untick("C:\\WINDOWS\\b.TMP");
    // Another window goes on with the same flag: ascending now.
    TfrmCleaning other;
    EXPECT_FALSE(TfrmCleaning::SortDescending);
    form.Lv_GarbageList.userColumnClick(3);
    EXPECT_EQ(captions(), (Strings{"C:\\WINDOWS\\b.TMP", "C:\\WINDOWS\\c.TMP", "C:\\WINDOWS\\A.TMP"}));
    EXPECT_FALSE(form.Lv_GarbageList.item(0).checked);
    EXPECT_TRUE(form.Lv_GarbageList.item(1).checked);
}

TEST_F(Window, ChoosingAFolderMakesItTheOnlyDirectoryOfTheNextScan) {
    machine.makeDir("D:\\X");
    directory("C:\\");
    directory("D:\\");
    std::string title, initial;
    tk.onModal("TFolderBrowser", [&](toolkit::Form& f) {
        auto& b = static_cast<TFolderBrowser&>(f);
        title = b.lTitle.caption();
        initial = b.SelectedPath();
        b.btnCancel.click();
    });
    press(form.btnAddCleanDir);
    EXPECT_EQ(title, "Please select a directory to cleanup: ");
    EXPECT_EQ(initial, "C:\\");
    EXPECT_EQ(form.lCleanupDir.text(), "c:\\");
    EXPECT_EQ(settings.Directorys.Count(), 2);

    tk.onModal("TFolderBrowser", [&](toolkit::Form& f) {
        auto& b = static_cast<TFolderBrowser&>(f);
        b.SelectFolder("D:\\X");
        b.btnOK.click();
    });
    press(form.btnAddCleanDir);
    EXPECT_EQ(form.lCleanupDir.text(), "D:\\X");
    ASSERT_EQ(settings.Directorys.Count(), 1);
    EXPECT_EQ(settings.Directorys[0].Path, "D:\\X");
    EXPECT_TRUE(settings.Directorys[0].IncludeSubDir);
    EXPECT_TRUE(settings.Directorys[0].IfClean);
    EXPECT_TRUE(tk.messageBoxes.empty()); // no scan started
}

// Through the start window: the same window comes back with its findings and scans again
// a second after it shows; it goes with its owner.
TEST_F(Window, TheWindowKeepsItsFindingsBetweenOpeningsAndGoesWithItsOwner) {
    file("D:\\e.log");
    Setting = nullptr; // the program makes its own
    TfrmCleaning* first = nullptr;
    int rowsAtSecondShow = -1, rowsAfterSecondScan = -1;
    tk.mainScript = [&](toolkit::Form& main) {
        auto& w = static_cast<TFrm_Wizard&>(main);
        tk.onModal("TfrmCleaning", [&](toolkit::Form& f) {
            first = static_cast<TfrmCleaning*>(&f);
            Setting->IfCleanZeroFile = true;
            tk.advance(1000);
        });
        toolkit::dispatch([&] { w.imgClean.click(); });
        tk.onModal("TfrmCleaning", [&](toolkit::Form& f) {
            EXPECT_EQ(&f, first);
            rowsAtSecondShow = first->Lv_GarbageList.count();
            file("D:\\f.log");
            tk.advance(1000);
            rowsAfterSecondScan = first->Lv_GarbageList.count();
        });
        toolkit::dispatch([&] { w.imgClean.click(); });
        EXPECT_EQ(frmCleaning, first);
        EXPECT_FALSE(first->visible());
    };
    EXPECT_EQ(RunQuorCleaner(), 0);
    EXPECT_EQ(rowsAtSecondShow, 1);
    EXPECT_EQ(rowsAfterSecondScan, 2);
    EXPECT_EQ(frmCleaning, nullptr);
}

// The bar belongs to the scan while it runs and stays full after it; only a deletion of
// every ticked row gives it another range, and the next scan starts on its own again.
TEST_F(Window, TheProgressBarStaysFullAfterAScanAndEachScanStartsOnItsOwnRange) {
    settings.IfCleanZeroFile = true;
    directory("D:\\");
    auto files = [&] {
        for (int i = 0; i < 7; ++i)
            file("D:\\f" + std::to_string(i));
    };
    auto bar = [&] {
        return std::to_string(form.Pb_Process.min()) + ".." + std::to_string(form.Pb_Process.max()) + " at " +
               std::to_string(form.Pb_Process.position());
    };
    struct Case {
        const char* what;
        std::function<void()> afterScan;
        const char* expected;
    };
    const Case cases[] = {
        {"the scan alone", [] {}, "0..100 at 100"},
        {"deleting every ticked row", [&] { press(form.Btn_CleanAll); }, "0..6 at 6"},
        {"a header click", [&] { form.Lv_GarbageList.userColumnClick(1); }, "0..100 at 100"},
        {"a single row's delete", [&] { select("D:\\f3"); press(form.DeleteD1); }, "0..100 at 100"},
    };
    for (const Case& c : cases) {
        files();
        // The bar as the scan's first pump finds it, also after the deletion of a case before.
        std::string atStart;
        tk.queue([&] { atStart = bar(); });
        scan();
        EXPECT_EQ(atStart, "0..100 at 0") << c.what;
        c.afterScan();
        EXPECT_EQ(bar(), c.expected) << c.what;
    }
}

TEST_F(Window, ADeletionInsideAScanGivesTheBarBackToTheScan) {
    settings.IfCleanZeroFile = true;
    for (int i = 0; i < 20; ++i)
        file("D:\\f" + std::to_string(10 + i));
    directory("D:\\");
    int maxAfterDelete = -1;
    // Pumps: the start, then one before each entry and one after each row.
    tk.queue([&] { form.Btn_CleanAll.click(); }, 6);
    tk.queue([&] { maxAfterDelete = form.Pb_Process.max(); }, 10);
    scan();
    EXPECT_EQ(maxAfterDelete, 100);
    EXPECT_EQ(form.Pb_Process.max(), 100);
    EXPECT_EQ(form.Pb_Process.position(), 100);
}

// An empty folder's row goes above the rows found inside it, which the list may show
// already: what the user selected there is still what "&Delete" acts on.
TEST_F(Window, TheSelectionFollowsItsFindingWhenAFolderRowIsInsertedAboveIt) {
    settings.IfCleanZeroDir = true;
    machine.makeDir("D:\\A\\B\\C");
    directory("D:\\");
    // The user picks the deepest folder as soon as the list shows it.
    std::function<void()> pick = [&] {
        int i = rowOf("D:\\A\\B\\C<Dir>");
        if (i >= 0)
            form.Lv_GarbageList.userSelect(i);
        else
            tk.queue(pick);
    };
    tk.queue(pick);
    scan();
    ASSERT_EQ(captions(), (Strings{"D:\\A<Dir>", "D:\\A\\B<Dir>", "D:\\A\\B\\C<Dir>"}));
    EXPECT_EQ(form.Lv_GarbageList.itemIndex(), 2);
    EXPECT_EQ(form.Lv_GarbageList.focused(), 2);
    press(form.DeleteD1);
    EXPECT_FALSE(exists("D:\\A\\B\\C"));
    EXPECT_TRUE(exists("D:\\A\\B"));
    EXPECT_EQ(captions(), (Strings{"D:\\A<Dir>", "D:\\A\\B<Dir>"}));
}
