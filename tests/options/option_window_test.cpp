#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/entry_point.h"
#include "app/start_window.h"
#include "options/filter_editor.h"
#include "options_fixture.h"
#include "platform/platform.h"
#include "settings/settings_files.h"
#include "support/forwarding_file_system.h"

namespace fs = std::filesystem;
using optionstest::OptionsTest;
using optionstest::Strings;
using toolkit::CheckState;

namespace {

std::vector<bool> ticks(const toolkit::ListView& lv) {
    std::vector<bool> out;
    for (int i = 0; i < lv.count(); ++i)
        out.push_back(lv.item(i).checked);
    return out;
}

} // namespace

TEST_F(OptionsTest, ShowingFillsEveryTabFromTheSettingsTheDrivesAndTheListFile) {
    pattern("*.BAK", "备份文件", true);
    pattern("*.TMP", "", false);
    settings.IfClean_Windows_Recent_Files = true;
    settings.IfClean_Recycle_Bin = false;
    settings.ShowTips = true;
    settings.IfCleanZeroFile = true;
    settings.AutoUpdate = false;
    settings.SlicePercent = 25;
    SaveLinesToFile(folder.file("Option2.CFG"), {"KEEP.TMP", "a.bak"});
    form.Pc_Project.setActivePageIndex(3);

    form.show();
    EXPECT_EQ(form.caption(), "高级选项");
    EXPECT_EQ(form.Pc_Project.activePageIndex(), 0);
    Strings tabs;
    for (auto* p : form.Pc_Project.pages())
        tabs.push_back(p->caption());
    EXPECT_EQ(tabs, (Strings{"上网隐私及安全项", "垃圾文件类型", "清理目录", "参数", "需要保护的文件"}));

    // Privacy items: the wipe's, checked by their settings, with no setting changed.
    ASSERT_EQ(form.clCleanOption.count(), 9);
    EXPECT_EQ(form.clCleanOption.item(0).caption, "Internet Explorer 临时文件");
    EXPECT_TRUE(form.clCleanOption.checked(3));  // recent files
    EXPECT_FALSE(form.clCleanOption.checked(7)); // recycle bin
    EXPECT_TRUE(form.clCleanOption.checked(0));
    EXPECT_FALSE(settings.IfClean_Recycle_Bin);

    // Patterns: an empty caption, the pattern and the memo as sub-items, the tick.
    ASSERT_EQ(form.Lv_GarbageList.count(), 2);
    EXPECT_EQ(form.Lv_GarbageList.item(0).caption, "");
    EXPECT_EQ(form.Lv_GarbageList.item(0).subItems, (Strings{"*.BAK", "备份文件"}));
    EXPECT_EQ(form.Lv_GarbageList.item(1).subItems, (Strings{"*.TMP", ""}));
    EXPECT_EQ(ticks(form.Lv_GarbageList), (std::vector<bool>{true, false}));

    // Directories: the drive rows only.
    EXPECT_EQ(dirRows(), (Strings{"C:\\", "D:\\"}));
    EXPECT_EQ(form.Lv_DirList.item(1).subItems.at(2), "固定硬盘");
    EXPECT_TRUE(form.Cb_IfSubDir.checked());

    // Switches, in their order, with their values.
    struct Row {
        const char* caption;
        toolkit::SwitchKind kind;
        bool checked;
        int value;
    } rows[] = {
        {"自动升级", toolkit::SwitchKind::Boolean, false, 0},
        {"启动时显示“每日技巧”", toolkit::SwitchKind::Boolean, true, 0},
        {"图表最小块百分比", toolkit::SwitchKind::Integer, false, 25},
        {"显示图表", toolkit::SwitchKind::Boolean, false, 0},
        {"扫描时包含子目录", toolkit::SwitchKind::Boolean, false, 0},
        {"清理空目录", toolkit::SwitchKind::Boolean, false, 0},
        {"清理0字节文件", toolkit::SwitchKind::Boolean, true, 0},
        {"清理完成后关机", toolkit::SwitchKind::Boolean, false, 0},
        {"扫描完自动清除垃圾", toolkit::SwitchKind::Boolean, false, 0},
    };
    ASSERT_EQ(form.Inspect.count(), 9);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(rows[i].caption);
        const toolkit::SwitchRow& r = form.Inspect.row(i);
        EXPECT_EQ(r.caption, rows[i].caption);
        EXPECT_EQ(r.kind, rows[i].kind);
        if (r.kind == toolkit::SwitchKind::Boolean)
            EXPECT_EQ(r.checked, rows[i].checked);
        else
            EXPECT_EQ(r.value, rows[i].value);
    }

    EXPECT_EQ(ignoreRows(), (Strings{"KEEP.TMP", "a.bak"}));
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(OptionsTest, WithoutAListFileTheProtectedListIsEmptyAndTheFirstAddCreatesIt) {
    form.show();
    EXPECT_TRUE(ignoreRows().empty());
    EXPECT_FALSE(fs::exists(machine.native(folder.file("Option2.CFG"))));
    tk.promptAnswers.push_back("ABCDE.TMP");
    press(form.btnAdd);
    ASSERT_EQ(tk.prompts.size(), 1u);
    EXPECT_EQ(tk.prompts[0].caption, "Add File you do not want clean");
    EXPECT_EQ(tk.prompts[0].prompt, "FileName");
    EXPECT_EQ(tk.prompts[0].initial, "");
    EXPECT_EQ(ignoreRows(), (Strings{"ABCDE.TMP"}));
    EXPECT_EQ(ignoreFile(), "ABCDE.TMP\r\n"); // at once, eleven bytes
}

TEST_F(OptionsTest, ACancelledOrEmptyPromptAddsNothing) {
    SaveLinesToFile(folder.file("Option2.CFG"), {"KEEP.TMP"});
    form.show();
    struct Case {
        const char* label;
        std::optional<std::string> answer;
    } cases[] = {{"cancelled", std::nullopt}, {"empty", std::string()}, {"blanks", std::string("   ")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        tk.promptAnswers.push_back(c.answer);
        press(form.btnAdd);
        EXPECT_EQ(ignoreRows(), (Strings{"KEEP.TMP"}));
        EXPECT_EQ(ignoreFile(), "KEEP.TMP\r\n");
    }
}

TEST_F(OptionsTest, ADeletedProtectedFileLeavesTheListFileOnOkOnly) {
    struct Case {
        const char* label;
        bool ok;
        std::string file;
    } cases[] = {
        {"OK writes the list", true, "A.TMP\r\nC.TMP\r\n"},
        {"cancel leaves the file", false, "A.TMP\r\nB.TMP\r\nC.TMP\r\nD.TMP\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        SaveLinesToFile(folder.file("Option2.CFG"), {"A.TMP", "B.TMP", "C.TMP", "D.TMP"});
        TfrmOption w;
        tk.onModal("TfrmOption", [&](toolkit::Form&) {
            w.lbIgnoreList.userSelect(1);
            w.lbIgnoreList.userSelect(3, true);
            press(w.btnDelList);
            EXPECT_EQ(w.lbIgnoreList.count(), 2);
            EXPECT_EQ(ignoreFile(), "A.TMP\r\nB.TMP\r\nC.TMP\r\nD.TMP\r\n"); // not yet
            press(c.ok ? w.RzButton6 : w.RzButton1);
        });
        EXPECT_EQ(w.showModal(), c.ok ? toolkit::mrOk : toolkit::mrCancel);
        EXPECT_EQ(ignoreFile(), c.file);
    }
}

TEST_F(OptionsTest, AListFileThatCannotBeReadIsShownAndNeverWrittenOver) {
    // A folder where the list should be: it cannot be read as a file.
    machine.makeDir(folder.file("Option2.CFG") + "\\inside");
    form.show();
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_TRUE(ignoreRows().empty());
    EXPECT_FALSE(form.btnAdd.enabled());
    EXPECT_FALSE(form.btnDelList.enabled());
    press(form.RzButton6);
    EXPECT_EQ(tk.messageBoxes.size(), 1u); // no second error: nothing was written
    EXPECT_TRUE(fs::is_directory(machine.native(folder.file("Option2.CFG") + "\\inside")));
}

TEST_F(OptionsTest, TheSameFolderAddedTwiceIsTwoRowsAndOneDeletionRemovesBoth) {
    machine.writeFile("D:\\Work\\a.bin", std::string(1048576 + 524288, 'a'));
    machine.makeDir("D:\\Empty");
    form.show();

    // The picker's title and first folder, and a cancel that adds nothing.
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
    EXPECT_EQ(form.Lv_DirList.count(), 2);
    EXPECT_EQ(settings.Directorys.Count(), 2);

    pick("D:\\Work");
    press(form.btnAddCleanDir);
    pick("D:\\Empty");
    press(form.btnAddCleanDir);
    pick("D:\\Work");
    press(form.btnAddCleanDir);
    EXPECT_EQ(dirRows(), (Strings{"C:\\", "D:\\", "D:\\Work", "D:\\Empty", "D:\\Work"}));
    EXPECT_EQ(form.Lv_DirList.item(2).subItems, (Strings{"---", "1.5MB", "Directory"}));
    EXPECT_EQ(form.Lv_DirList.item(3).subItems, (Strings{"---", "0MB", "Directory"}));
    EXPECT_EQ(dirPaths(), (Strings{"C:\\", "D:\\", "D:\\Work", "D:\\Empty", "D:\\Work"}));
    EXPECT_TRUE(settings.Directorys[2].IncludeSubDir);
    EXPECT_TRUE(settings.Directorys[2].IfClean);

    // Without a selection nothing goes.
    form.Lv_DirList.clearSelection();
    press(form.btnDelCleanDir);
    EXPECT_EQ(settings.Directorys.Count(), 5);

    form.Lv_DirList.userSelect(4);
    press(form.btnDelCleanDir);
    EXPECT_EQ(dirPaths(), (Strings{"C:\\", "D:\\", "D:\\Empty"}));
    EXPECT_EQ(dirRows(), (Strings{"C:\\", "D:\\", "D:\\Empty"}));

    // A drive row takes the drive's root out, whatever the case of its letters.
    settings.Directorys.Add().Path = "d:\\";
    form.Lv_DirList.userSelect(1);
    press(form.btnDelCleanDir);
    EXPECT_EQ(dirPaths(), (Strings{"C:\\", "D:\\Empty"}));
    EXPECT_EQ(dirRows(), (Strings{"C:\\", "D:\\Empty"}));
}

TEST_F(OptionsTest, TheSubdirectoryBoxDecidesForNewDirectoriesAndLeavesTheEmptyFolderSwitchAlone) {
    machine.makeDir("D:\\Flat");
    for (bool zeroDir : {false, true}) {
        SCOPED_TRACE(zeroDir);
        settings.IfCleanZeroDir = zeroDir;
        settings.RebuildDirectories();
        form.show();
        ASSERT_TRUE(form.Cb_IfSubDir.checked());
        press(form.Cb_IfSubDir);
        EXPECT_FALSE(form.Cb_IfSubDir.checked());
        EXPECT_EQ(settings.IfCleanZeroDir, zeroDir);
        pick("D:\\Flat");
        press(form.btnAddCleanDir);
        ASSERT_EQ(settings.Directorys.Count(), 3);
        EXPECT_FALSE(settings.Directorys[2].IncludeSubDir);
        EXPECT_TRUE(settings.Directorys[2].IfClean);
        press(form.RzButton6);
        EXPECT_EQ(settings.IfCleanZeroDir, zeroDir);
        // Checked again at the next opening.
        form.show();
        EXPECT_TRUE(form.Cb_IfSubDir.checked());
        form.close();
    }
}

TEST_F(OptionsTest, ClosingWithoutOkKeepsPatternsPrivacyAndDirectoriesButNotTheSwitches) {
    machine.makeDir("D:\\Added");
    for (const char* way : {"close box", "cancel button"}) {
        SCOPED_TRACE(way);
        settings.Garbages.Clear();
        pattern("*.BAK", "备份文件", true);
        settings.IfClean_Internet_Explorer_History = true;
        settings.AutoClean = false;
        settings.SlicePercent = 10;
        settings.RebuildDirectories();
        TfrmOption w;
        tk.onModal("TfrmOption", [&](toolkit::Form& f) {
            w.clCleanOption.toggle(1);          // history off, at once
            EXPECT_FALSE(settings.IfClean_Internet_Explorer_History);
            w.Lv_GarbageList.userToggleCheck(0); // untick *.BAK
            pick("D:\\Added");
            press(w.btnAddCleanDir);
            w.Inspect.userToggle(8);             // AutoClean
            w.Inspect.userSetValue(TfrmOption::SliceRow, 40);
            if (std::string(way) == "close box")
                f.close();
            else
                press(w.RzButton1);
        });
        EXPECT_EQ(w.showModal(), toolkit::mrCancel);
        EXPECT_FALSE(settings.AutoClean);
        EXPECT_EQ(settings.SlicePercent, 10);
        ASSERT_EQ(settings.Garbages.Count(), 1);
        EXPECT_FALSE(settings.Garbages[0].Ifclean);
        EXPECT_EQ(dirPaths(), (Strings{"C:\\", "D:\\", "D:\\Added"}));
        // Saved as they stand.
        auto disk = saved();
        EXPECT_FALSE(disk->IfClean_Internet_Explorer_History);
        ASSERT_EQ(disk->Garbages.Count(), 1);
        EXPECT_EQ(disk->Garbages[0].GarbageName, "*.BAK");
        EXPECT_EQ(disk->Garbages[0].Memo, "备份文件");
        EXPECT_FALSE(disk->Garbages[0].Ifclean);
        EXPECT_FALSE(disk->AutoClean);
    }
}

TEST_F(OptionsTest, OkSetsEverySwitchFromItsRowAndSavesThem) {
    form.show();
    for (int i = 0; i < form.Inspect.count(); ++i)
        if (i != TfrmOption::SliceRow)
            form.Inspect.userToggle(i);
    form.Inspect.userSetValue(TfrmOption::SliceRow, 37);
    // Nothing reaches the settings before OK.
    EXPECT_TRUE(settings.AutoUpdate);
    EXPECT_EQ(settings.SlicePercent, 10);
    press(form.RzButton6);
    EXPECT_FALSE(form.visible());
    auto disk = saved();
    for (TSetting* s : {&settings, disk.get()}) {
        EXPECT_FALSE(s->AutoUpdate);
        EXPECT_TRUE(s->ShowTips);
        EXPECT_EQ(s->SlicePercent, 37);
        EXPECT_TRUE(s->IfShowChart);
        EXPECT_TRUE(s->IfIncludeDir);
        EXPECT_TRUE(s->IfCleanZeroDir);
        EXPECT_TRUE(s->IfCleanZeroFile);
        EXPECT_TRUE(s->AutoCleanShutDown);
        EXPECT_TRUE(s->AutoClean);
    }
}

TEST_F(OptionsTest, ThePercentageRowHoldsAWholeNumberFrom0To100) {
    struct Case {
        const char* label;
        int stored;
        int typed;
        int result;
    } cases[] = {
        {"within the range", 10, 55, 55},
        {"below it", 10, -5, 0},
        {"above it", 10, 250, 100},
        {"a file value above the range shows as 100", 200, 100, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        settings.SlicePercent = c.stored;
        form.show();
        form.Inspect.userSetValue(TfrmOption::SliceRow, c.typed);
        EXPECT_EQ(form.Inspect.value(TfrmOption::SliceRow), c.result);
        press(form.RzButton6);
        EXPECT_EQ(settings.SlicePercent, c.result);
    }
}

TEST_F(OptionsTest, SelectAllTicksEveryPatternAndUnticksThemAll) {
    pattern("*.BAK", "", true);
    pattern("*.TMP", "", false);
    pattern("*.OLD", "", false);
    form.show();
    press(form.cbSelectAll);
    EXPECT_EQ(ticks(form.Lv_GarbageList), (std::vector<bool>{true, true, true}));
    press(form.cbSelectAll);
    EXPECT_EQ(ticks(form.Lv_GarbageList), (std::vector<bool>{false, false, false}));
    press(form.cbSelectAll);
    form.close();
    for (const TGarbage& g : settings.Garbages)
        EXPECT_TRUE(g.Ifclean) << g.GarbageName;
}

TEST_F(OptionsTest, PatternsAreAddedUntickedFromTheEditorAndTheFirstSelectedOneIsDeleted) {
    pattern("*.BAK", "备份文件", true);
    form.show();
    tk.onModal("TfrmAddFilter", [](toolkit::Form& f) {
        auto& e = static_cast<TfrmAddFilter&>(f);
        e.eFilterName.setText("*.log");
        e.eFilterMemo.setText("日志 log");
        e.RzBitBtn1.click();
    });
    press(form.btnAddFilter);
    tk.onModal("TfrmAddFilter", [](toolkit::Form& f) {
        auto& e = static_cast<TfrmAddFilter&>(f);
        e.eFilterName.setText("*.XYZ");
        e.Btn_Close.click();
    });
    press(form.btnAddFilter);
    // Empty texts and duplicates are rows like any other.
    tk.onModal("TfrmAddFilter", [](toolkit::Form& f) { static_cast<TfrmAddFilter&>(f).RzBitBtn1.click(); });
    press(form.btnAddFilter);
    ASSERT_EQ(form.Lv_GarbageList.count(), 3);
    EXPECT_EQ(form.Lv_GarbageList.item(1).subItems, (Strings{"*.LOG", "日志 LOG"}));
    EXPECT_EQ(form.Lv_GarbageList.item(2).subItems, (Strings{"", ""}));
    EXPECT_EQ(ticks(form.Lv_GarbageList), (std::vector<bool>{true, false, false}));

    form.Lv_GarbageList.clearSelection();
    press(form.btnDelFilter);
    EXPECT_EQ(form.Lv_GarbageList.count(), 3);
    form.Lv_GarbageList.userSelect(2);
    form.Lv_GarbageList.userSelect(1, true);
    press(form.btnDelFilter);
    ASSERT_EQ(form.Lv_GarbageList.count(), 2);
    EXPECT_EQ(form.Lv_GarbageList.item(1).subItems, (Strings{"", ""}));

    form.close();
    ASSERT_EQ(settings.Garbages.Count(), 2);
    EXPECT_EQ(settings.Garbages[0].GarbageName, "*.BAK");
    EXPECT_TRUE(settings.Garbages[0].Ifclean);
    EXPECT_EQ(settings.Garbages[1].GarbageName, "");
    EXPECT_FALSE(settings.Garbages[1].Ifclean);
}

// Drives come from a table the window reads for itself when it opens.
namespace {

// The space the system reports for each drive root; a root it has none for cannot say.
class ReportedSpace : public testsupport::ForwardingFileSystem {
public:
    explicit ReportedSpace(std::map<std::string, std::pair<std::int64_t, std::int64_t>> space)
        : space_(std::move(space)) {}
    bool diskFreeSpace(const std::string& r, std::int64_t& t, std::int64_t& f) override {
        auto it = space_.find(r);
        if (it == space_.end())
            return false;
        t = it->second.first;
        f = it->second.second;
        return true;
    }

private:
    std::map<std::string, std::pair<std::int64_t, std::int64_t>> space_;
};

} // namespace

TEST(OptionDrives, EachPresentDriveIsARowWithItsOwnSizeFreeSpaceAndType) {
    testsupport::TempMachine machine{"CDFG"};
    // D: removable without a medium, F: a disc drive, G: a network share; E: is missing.
    for (auto [letter, type] : {std::pair{'d', 2}, {'f', 5}, {'g', 4}})
        std::ofstream(machine.root() / "dosdevices" / (std::string(1, letter) + ":.type")) << type;
    machine.reload();
    const std::int64_t MiB = 1048576;
    ReportedSpace space({{"C:\\", {20 * 1024 * MiB + MiB - 1, 3 * MiB + 5}},
                         {"F:\\", {700 * MiB, 0}},
                         {"G:\\", {9 * MiB, 9 * MiB}}});
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    TSetting settings{folder.file("quorCleaner.cfg")};
    Setting = &settings;
    TfrmOption form;
    form.show();
    struct Row {
        const char* label;
        Strings cells;
    } rows[] = {
        {"fixed: whole megabytes, rounded down", {"C:\\", "20480M", "3M", "固定硬盘"}},
        {"cannot say: 0", {"D:\\", "0M", "0M", "可移动硬盘"}},
        {"disc: never asked", {"F:\\", "0M", "0M", "光驱"}},
        {"network: never asked", {"G:\\", "0M", "0M", "网络"}},
    };
    ASSERT_EQ(form.Lv_DirList.count(), 4);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(rows[i].label);
        toolkit::ListItem it = form.Lv_DirList.item(i);
        Strings cells{it.caption};
        cells.insert(cells.end(), it.subItems.begin(), it.subItems.end());
        EXPECT_EQ(cells, rows[i].cells);
    }
    form.close();
    Setting = nullptr;
}

TEST(OptionDrives, EveryDriveTypeHasItsName) {
    const char* names[] = {"未知", "目录", "可移动硬盘", "固定硬盘", "网络", "光驱", "虚拟磁盘"};
    for (int t = 0; t <= 6; ++t)
        EXPECT_EQ(TfrmOption::DriveTypeName(t), names[t]) << t;
    EXPECT_EQ(TfrmOption::DriveTypeName(7), "未知");
}

// The launcher of the start window opens the window over the program's settings; its OK
// saves them.
TEST(OptionLaunch, TheStartWindowOpensItAndItsOkReachesTheSettingsFile) {
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    int shown = 0;
    tk.onModal("TfrmOption", [&](toolkit::Form& f) {
        auto& w = static_cast<TfrmOption&>(f);
        ++shown;
        EXPECT_EQ(w.Inspect.count(), 9);
        EXPECT_EQ(w.Lv_DirList.count(), 1);
        w.Inspect.userToggle(8); // AutoClean
        toolkit::dispatch([&] { w.RzButton6.click(); });
    });
    tk.mainScript = [](toolkit::Form& main) {
        toolkit::dispatch([&] { static_cast<TFrm_Wizard&>(main).ImgOption.click(); });
        EXPECT_EQ(frmOption, nullptr);
    };
    EXPECT_EQ(RunQuorCleaner(), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(tk.messageBoxes.empty());
    EXPECT_TRUE(TSetting(folder.file("quorCleaner.cfg")).AutoClean);
}
