#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "analyzer/analyzer_window.h"
#include "analyzer/size_engine.h"
#include "cleaner/cleaning_window.h"
#include "platform/platform.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t MiB = 1048576;

struct ChartsAndCommands : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    std::unique_ptr<TSetting> settings;
    std::unique_ptr<TFrm_Main> w;

    void SetUp() override { ClearStop(); }
    void TearDown() override {
        w.reset();
        Setting = nullptr;
        ClearStop();
    }
    TFrm_Main& open() {
        settings = std::make_unique<TSetting>();
        Setting = settings.get();
        w = std::make_unique<TFrm_Main>();
        w->show();
        return *w;
    }
    void sized(const std::string& path, std::int64_t bytes) {
        fs::resize_file(machine.writeFile(path), std::uintmax_t(bytes));
    }
    int row(const std::string& name) const {
        const auto& items = w->ShellItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].DisplayName == name)
                return int(i);
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    void select(const std::string& name) { w->ListView.setItemIndex(row(name)); }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& s : w->Series1.slices())
            out.push_back(s.label);
        return out;
    }
};

} // namespace

TEST_F(ChartsAndCommands, TheChartAreaWhenTheWindowOpens) {
    TFrm_Main& f = open();
    EXPECT_EQ(f.Sp_Slice.value(), 14);
    EXPECT_TRUE(f.Chart_Dir.visible());
    EXPECT_FALSE(f.Chart_Disk.visible());
    EXPECT_EQ(f.Series1.count(), 0);
    EXPECT_EQ(f.Charts.builds(), 0); // no chart is built until asked
    EXPECT_EQ(f.Chart_Dir.title(), "目录空间分析");
    EXPECT_EQ(f.Series4.title, "条柱1       : 磁盘大小");
    EXPECT_EQ(f.Series3.title, "条柱2: 剩余空间");
    EXPECT_EQ(f.Dlg_OpenDialog.filter, "Word|*.Doc|Access|*.Mdb|Excel|*.Exl|Picture|*.bmp;*.jpg,*.png");
}

TEST_F(ChartsAndCommands, RefreshAtMyComputerShowsTheDrivesAndABarDoubleClickTheirRoot) {
    sized("C:\\big\\f", 3 * MiB);
    TFrm_Main& f = open();
    f.RzToolbarButton11.click();
    EXPECT_TRUE(f.Chart_Disk.visible());
    EXPECT_FALSE(f.Chart_Dir.visible());
    EXPECT_FALSE(f.pInfo.visible()) << "the slice list goes with the pie";
    ASSERT_EQ(f.Series4.count(), 2);
    EXPECT_EQ(f.Series4.points()[0].label, "C:\\");
    EXPECT_EQ(f.Series3.points()[1].label, "D:\\");
    f.Series4.userDblClick(0);
    EXPECT_TRUE(f.Chart_Dir.visible());
    EXPECT_TRUE(f.pInfo.visible());
    EXPECT_EQ(f.L_Dir.caption(), "C:\\");
    EXPECT_NE(std::find(labels().begin(), labels().end(), "big"), labels().end());
    // Printing takes the folder chart, whichever is shown.
    f.RzToolbarButton11.click();
    ASSERT_TRUE(f.Chart_Disk.visible());
    f.RzToolbarButton1.click();
    ASSERT_EQ(tk.chartOutputs.size(), 1u);
    EXPECT_EQ(tk.chartOutputs[0].chart, &f.Chart_Dir);
    EXPECT_EQ(tk.chartOutputs[0].margins, (toolkit::ChartMargins{15, 35, 15, 35}));
}

TEST_F(ChartsAndCommands, ACollapsedChartAreaScansNothingOnRefresh) {
    sized("C:\\data\\a\\f", MiB);
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\data");
    f.ToolButton6.click();
    f.RzToolbarButton11.click();
    EXPECT_EQ(f.Charts.builds(), 0);
    EXPECT_EQ(f.Series1.count(), 0);
    f.RzToolbarButton5.click();
    f.RzToolbarButton11.click();
    EXPECT_EQ(labels(), std::vector<std::string>{"a"});
}

TEST_F(ChartsAndCommands, SliceClicksShowTheFiguresAndADoubleClickEntersAFolder) {
    sized("C:\\data\\a\\inner\\f", 50 * MiB);
    sized("C:\\data\\b.iso", 30 * MiB);
    sized("C:\\data\\c\\f", 10 * MiB);
    sized("C:\\data\\d\\f", 10 * MiB);
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\data");
    f.RzToolbarButton11.click();
    EXPECT_EQ(labels(), (std::vector<std::string>{"a", "b.iso", "Other"}));
    f.Series1.userClick(1, toolkit::MouseButton::Left); // left: nothing
    EXPECT_TRUE(tk.messageBoxes.empty());
    f.Series1.userClick(1, toolkit::MouseButton::Right);
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "Detail Information: b.iso\r\n\r\n-------------------------------\r\n"
                                       "Size   : 30 MByte\r\nPercent: 30 % of 100 MByte\r\n-------------------------------");
    f.Series1.userDblClick(2); // "Other": a note
    ASSERT_EQ(tk.messageBoxes.size(), 2u);
    EXPECT_EQ(tk.messageBoxes[1].text, "Other\r\n20 % of 100M");
    f.Series1.userDblClick(0); // a folder: the chart goes one level deeper, the list stays
    EXPECT_EQ(f.L_Dir.caption(), "C:\\data\\a\\");
    EXPECT_EQ(labels(), std::vector<std::string>{"inner"});
    EXPECT_EQ(f.cbPath.text(), "C:\\data");
}

TEST_F(ChartsAndCommands, AnalyzeChartsTheRowTheFolderOrTheDriveUnderMyComputer) {
    sized("C:\\top\\f", 2 * MiB);
    sized("C:\\data\\docs\\x\\f", 3 * MiB / 2);
    TFrm_Main& f = open();
    select("本地磁盘 (C:)");
    f.AnalyzeThisDiectory1.click();
    EXPECT_EQ(f.L_Dir.caption(), "C:\\");
    EXPECT_TRUE(f.Chart_Dir.visible());
    EXPECT_NE(std::find(labels().begin(), labels().end(), "top"), labels().end());

    f.BrowseToPath("C:\\data");
    select("docs");
    f.AnalyzeThisDiectory1.click();
    EXPECT_EQ(f.L_Dir.caption(), "C:\\data\\docs\\");
    ASSERT_EQ(f.Series1.count(), 1);
    EXPECT_EQ(f.Series1.points()[0].value, 1); // whole megabytes
    f.ListView.clearSelection();
    f.AnalyzeThisDiectory1.click();
    EXPECT_EQ(f.L_Dir.caption(), "C:\\data\\");
}

TEST_F(ChartsAndCommands, DeleteAsksFirstAndOnlyYesDeletes) {
    machine.writeFile("C:\\data\\a.txt", std::string(9000, 'a'));
    machine.writeFile("C:\\data\\old\\x\\y.txt", "y");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\data");
    select("a.txt");
    tk.answers = {toolkit::IDNO};
    f.N_Delete.click();
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_NE(tk.messageBoxes[0].text.find("C:\\data\\a.txt"), std::string::npos);
    EXPECT_EQ(tk.messageBoxes[0].flags,
              unsigned(toolkit::MB_YESNO | toolkit::MB_ICONQUESTION | toolkit::MB_DEFBUTTON2));
    EXPECT_TRUE(fs::exists(machine.native("C:\\data\\a.txt")));

    // The Delete key: Yes deletes the file and the list shows the folder as it is now.
    select("a.txt");
    tk.answers = {toolkit::IDYES};
    int key = toolkit::VK_DELETE;
    toolkit::dispatch([&] { f.ListView.userKeyDown(key); });
    EXPECT_FALSE(fs::exists(machine.native("C:\\data\\a.txt")));

    // A folder row: emptied, kept, listed again.
    select("old");
    tk.answers = {toolkit::IDYES};
    f.N_Delete.click();
    EXPECT_TRUE(fs::is_directory(machine.native("C:\\data\\old")));
    EXPECT_TRUE(fs::is_empty(machine.native("C:\\data\\old")));
    EXPECT_GE(row("old"), 0);

    // No row: no question, only the listing again.
    std::size_t boxes = tk.messageBoxes.size();
    f.ListView.clearSelection();
    f.N_Delete.click();
    EXPECT_EQ(tk.messageBoxes.size(), boxes);
}

TEST_F(ChartsAndCommands, DeleteAtMyComputerListsTheDrivesAgainWithoutAnError) {
    TFrm_Main& f = open();
    f.ListView.clearSelection();
    f.N_Delete.click();
    EXPECT_TRUE(tk.messageBoxes.empty());
    EXPECT_EQ(f.cbPath.text(), "My Computer");
    EXPECT_EQ(f.ShellItems().size(), 2u);
}

TEST_F(ChartsAndCommands, CleanTakesAFolderRowOnly) {
    machine.writeFile("C:\\data\\a.txt", std::string(9000, 'a'));
    machine.makeDir("C:\\data\\junk");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\data");
    select("a.txt");
    f.ClearUpGarbage1.click();
    EXPECT_TRUE(tk.modalLog.empty());
    select("junk");
    tk.onModal("TfrmCleaning", [](toolkit::Form& form) { form.close(); });
    f.ClearUpGarbage1.click();
    ASSERT_EQ(tk.modalLog, std::vector<std::string>{"TfrmCleaning"});
    ASSERT_EQ(Setting->Directorys.Count(), 1);
    EXPECT_EQ(Setting->Directorys[0].Path, "C:\\data\\junk");
    EXPECT_TRUE(Setting->Directorys[0].IncludeSubDir);
    EXPECT_TRUE(Setting->Directorys[0].IfClean);
}

TEST_F(ChartsAndCommands, OpenAndPropertiesGoToTheShellForTheSelectedEntry) {
    machine.writeFile("C:\\data\\a.txt", "a");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\data");
    f.ListView.clearSelection();
    f.N15.click();
    f.N_Attrib.click();
    EXPECT_TRUE(machine.shell().requests.empty());
    select("a.txt");
    f.N15.click();
    f.N_Attrib.click();
    ASSERT_EQ(machine.shell().requests.size(), 2u);
    EXPECT_EQ(machine.shell().requests[0].verb, "open");
    EXPECT_EQ(machine.shell().requests[0].file, "C:\\data\\a.txt");
    EXPECT_EQ(machine.shell().requests[1].verb, "properties");
}
