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

struct Analyzer : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    std::unique_ptr<TSetting> settings;
    std::unique_ptr<TFrm_Main> w;

    void SetUp() override {
        SortColumn = 0;
        SortDescending = true;
        ClearStop();
    }
    void TearDown() override {
        w.reset();
        Setting = nullptr;
    }
    // Opens the window as the start window does, on the machine as it is now.
    TFrm_Main& open(bool notificationArea = false) {
        tk.notificationArea = notificationArea;
        settings = std::make_unique<TSetting>();
        Setting = settings.get();
        w = std::make_unique<TFrm_Main>();
        w->show();
        return *w;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> n;
        for (const TShellItem& i : w->ShellItems())
            n.push_back(i.DisplayName);
        return n;
    }
    int row(const std::string& name) const {
        const auto& items = w->ShellItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].DisplayName == name)
                return int(i);
        ADD_FAILURE() << name << " is not listed";
        return -1;
    }
    // Selects the row of `name` and presses Enter on the list.
    void enter(const std::string& name) {
        w->ListView.setItemIndex(row(name));
        press(toolkit::VK_RETURN);
    }
    int press(int key) {
        int k = key;
        if (!w->keyDown(k))
            toolkit::dispatch([&] { w->ListView.userKeyDown(k); });
        return k;
    }
    std::vector<std::string> pathBox() const {
        std::vector<std::string> t;
        for (const auto& i : w->cbPath.items())
            t.push_back(i.text);
        return t;
    }
    toolkit::ListItem rowData(int index) {
        w->ListView.onDataHint(index, index);
        return w->ListView.item(index);
    }
};

} // namespace

TEST_F(Analyzer, OpensAtMyComputerWithTheDrivesAndTheFirstRowSelected) {
    TFrm_Main& f = open();
    EXPECT_EQ(f.caption(), "WindowsKestrane --- 磁盘目录空间分析");
    EXPECT_EQ(names(), (std::vector<std::string>{"本地磁盘 (C:)", "本地磁盘 (D:)"}));
    EXPECT_EQ(f.ListView.itemIndex(), 0);
    EXPECT_EQ(f.ListView.count(), 2);
    EXPECT_EQ(f.cbPath.text(), "My Computer");
    EXPECT_EQ(f.L_Dir.caption(), "My Computer");
    EXPECT_EQ(f.CurrentPath(), platform::kMyComputerParsingName);
    EXPECT_EQ(f.Sb_Status.caption(), "可按ESC键中止扫描....");
    EXPECT_EQ(platform::sys().currentFolder(), "C:\\Quor") << "the program's folder is the current one";
    EXPECT_NE(f.DriveTable(), nullptr);
    EXPECT_TRUE(f.keyPreview);

    tk.advance(786);
    EXPECT_EQ(f.caption(), "Tessaly --- 2008Brisa  ");
    EXPECT_GE(f.T_Reg.interval(), 600000);
    EXPECT_LT(f.T_Reg.interval(), 1200000);
}

TEST_F(Analyzer, BackGoesUpToTheDriveRootThenMyComputerAndStaysThere) {
    machine.makeDir("C:\\Windows\\System32");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\Windows\\System32");
    struct Step {
        const char* box;
        const char* name;
    } steps[] = {{"C:\\Windows", "Windows"}, {"C:\\", "C:\\"}, {"My Computer", "My Computer"},
                 {"My Computer", "My Computer"}};
    for (const Step& s : steps) {
        EXPECT_EQ(press(toolkit::VK_BACK), 0);
        EXPECT_EQ(f.cbPath.text(), s.box);
        EXPECT_EQ(f.L_Dir.caption(), s.box);
        EXPECT_EQ(f.LDirName.caption(), s.name);
        EXPECT_EQ(f.Sb_Status.caption(), "Right click chart for more info,Left click to Dig direcotry data ...");
        if (std::string(s.box) == "C:\\Windows") {
            EXPECT_FALSE(f.lCreateDate.caption().empty());
        }
        if (std::string(s.box) == "C:\\") {
            EXPECT_EQ(f.lCreateDate.caption(), "") << "a drive root has no dates";
            EXPECT_EQ(f.lModifyDate.caption(), "");
        }
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"本地磁盘 (C:)", "本地磁盘 (D:)"}));
    EXPECT_EQ(pathBox(), (std::vector<std::string>{"C:\\", "C:\\Windows", "C:\\Windows\\System32", "My Computer"}))
        << "one entry for each folder, My Computer too";
}

TEST_F(Analyzer, AFolderVisitedAgainReusesItsPathBoxEntry) {
    machine.makeDir("C:\\Windows");
    machine.makeDir("C:\\Other");
    TFrm_Main& f = open();
    enter("本地磁盘 (C:)");
    EXPECT_EQ(f.cbPath.text(), "C:\\");
    enter("Windows");
    press(toolkit::VK_BACK);
    enter("Windows");
    EXPECT_EQ(pathBox(), (std::vector<std::string>{"C:\\Windows", "C:\\", "My Computer"}));
    EXPECT_EQ(f.cbPath.itemIndex(), 0);

    // Choosing an entry browses to the list it carries, after the folder was left.
    f.cbPath.userChoose(2);
    EXPECT_EQ(f.CurrentPath(), platform::kMyComputerParsingName);
    f.cbPath.userChoose(1);
    EXPECT_EQ(f.CurrentPath(), "C:\\");
    EXPECT_EQ(f.cbPath.text(), "C:\\");

    // A typed path that no entry shows is parsed; one that names nothing changes nothing.
    f.cbPath.userType("C:\\Other");
    toolkit::dispatch([&] { f.cbPath.userEnter(); });
    EXPECT_EQ(f.CurrentPath(), "C:\\Other");
    EXPECT_EQ(pathBox().front(), "C:\\Other");
    f.cbPath.userType("C:\\nowhere");
    toolkit::dispatch([&] { f.cbPath.userEnter(); });
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_NE(tk.messageBoxes[0].text.find("C:\\nowhere"), std::string::npos);
    EXPECT_EQ(f.CurrentPath(), "C:\\Other") << "the folder listed stays";
    f.cbPath.userType("My Computer");
    toolkit::dispatch([&] { f.cbPath.userEnter(); });
    EXPECT_EQ(f.CurrentPath(), platform::kMyComputerParsingName) << "the text of an entry finds the entry";
}

TEST_F(Analyzer, EnterOnAFileOpensItAndKeepsTheFolder) {
    machine.writeFile("C:\\docs\\a.txt", "x");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\docs");
    enter("a.txt");
    ASSERT_EQ(machine.shell().requests.size(), 1u);
    EXPECT_EQ(machine.shell().requests[0].verb, "open");
    EXPECT_EQ(machine.shell().requests[0].file, "C:\\docs\\a.txt");
    EXPECT_EQ(machine.shell().requests[0].show, 1);
    EXPECT_EQ(f.CurrentPath(), "C:\\docs");
    EXPECT_EQ(f.L_Dir.caption(), "C:\\docs\\a.txt") << "without the chart the label names the file";

    RequestStop();
    Setting->IfShowChart = true;
    enter("a.txt");
    EXPECT_FALSE(ScanAborted) << "opening an entry clears the stop";
    EXPECT_EQ(f.L_Dir.caption(), "C:\\docs\\") << "the pie of the folder names it with its separator";
    EXPECT_EQ(f.LDirName.caption(), "docs");
}

TEST_F(Analyzer, TheKeysOfTheWindowAndTheList) {
    machine.makeDir("C:\\d");
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\d");
    EXPECT_EQ(press(toolkit::VK_ESCAPE), toolkit::VK_ESCAPE) << "ESC passes on after the stop";
    EXPECT_TRUE(ScanAborted);
    EXPECT_EQ(press(toolkit::VK_DELETE), 0);
    EXPECT_EQ(press('A'), 'A') << "other keys keep their ordinary list behaviour";
    EXPECT_EQ(f.CurrentPath(), "C:\\d");
    EXPECT_EQ(press(toolkit::VK_BACK), 0);
    EXPECT_EQ(f.CurrentPath(), "C:\\");
}

TEST_F(Analyzer, SizesOfEntriesAreKilobytesRoundedUpAndNeverBelowOne) {
    machine.writeFile("C:\\s\\empty");
    machine.writeFile("C:\\s\\one", "1");
    machine.writeFile("C:\\s\\kilo", std::string(1025, 'x'));
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\s");
    EXPECT_EQ(f.ListView.item(row("empty")).subItems.at(0), "0KB") << "no details fetched before the hint";
    f.CheckShellItems(0, 2);
    EXPECT_EQ(f.ShellItem(row("empty"))->SizeKB, 1);
    EXPECT_EQ(f.ShellItem(row("one"))->SizeKB, 1);
    EXPECT_EQ(f.ShellItem(row("kilo"))->SizeKB, 2);
    EXPECT_EQ(f.ShellItem(3), nullptr);

    struct Case {
        const char* label;
        std::uint64_t length;
        std::int32_t kb;
    } cases[] = {
        {"empty", 0, 1},
        {"one byte", 1, 1},
        {"one kilobyte", 1024, 1},
        {"one byte more", 1025, 2},
        {"past 4 GB the whole length counts", 5ull << 30, 5 << 20},
        {"past what the field holds", 1ull << 62, INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SizeKBOf(c.length), c.kb) << c.label;
}

TEST(SizeTextTable, WholeKilobytesUpTo1024ThenTwoDecimalsOfTheUnit) {
    struct Case {
        std::int64_t kb;
        const char* text;
    } cases[] = {
        {1, "1KB"},           {512, "512KB"},        {1024, "1024KB"},         {1025, "1.00MB"},
        {1536, "1.50MB"},     {2047, "1.99MB"},      {1048576, "1024.00MB"},   {1049600, "1.00GB"},
        {1572864, "1.50GB"},  {1073741825, "1024.00GB"}, {1074790400, "1.00TB"}, {1100585369600, "1.00TTB"}, {1099511627776LL * 2048, "2048.00TTB"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SizeText(c.kb), c.text) << c.kb;
        char first = SizeText(c.kb)[0];
        EXPECT_TRUE(first >= '1' && first <= '9') << c.kb;
    }
}

TEST_F(Analyzer, RowsShowSizeTypeDateAndAttributesAndDriveRowsTheirSpace) {
    machine.writeFile("C:\\r\\big.txt", std::string(1536 * 1024, 'x'));
    machine.makeDir("C:\\r\\sub");
    machine.writeFile("C:\\r\\.secret", "");
    fs::permissions(machine.native("C:\\r\\.secret"), fs::perms::owner_read);
    TFrm_Main& f = open();

    toolkit::ListItem c = rowData(0);
    EXPECT_EQ(c.caption, "本地磁盘 (C:)");
    ASSERT_EQ(c.subItems.size(), 4u);
    EXPECT_EQ(c.subItems[0].rfind("可用 ", 0), 0u) << c.subItems[0];
    EXPECT_NE(c.subItems[0].find(" / 共 "), std::string::npos);
    EXPECT_EQ(c.subItems[1], "本地磁盘");

    f.BrowseToPath("C:\\r");
    toolkit::ListItem big = rowData(row("big.txt"));
    EXPECT_EQ(big.subItems, (std::vector<std::string>{"1.50MB", "TXT 文件", big.subItems[2], "A"}));
    EXPECT_FALSE(big.subItems[2].empty());
    toolkit::ListItem sub = rowData(row("sub"));
    EXPECT_EQ(sub.subItems[0], "") << "a folder row inside a drive has no size";
    EXPECT_EQ(sub.subItems[1], "文件夹");
    toolkit::ListItem secret = rowData(row(".secret"));
    EXPECT_EQ(secret.subItems[3], "RHA");
    toolkit::ItemStyle name = f.ListView.styleOf(row(".secret"), 0);
    EXPECT_EQ(name.textColor, toolkit::Color::Gray);
    EXPECT_TRUE(name.strikeOut);
    EXPECT_EQ(f.ListView.styleOf(row(".secret"), 1).textColor, toolkit::Color::None);

    f.btnLargeIcons.click();
    EXPECT_EQ(f.ListView.viewStyle(), toolkit::ViewStyle::Icon);
    EXPECT_TRUE(rowData(row("big.txt")).subItems.empty()) << "names and icons only";
    f.btnReport.click();
    EXPECT_EQ(rowData(row("big.txt")).subItems.size(), 4u);
}

TEST(DriveTextOfRows, FromTheCaptionUnderMyComputerElseFromThePathBox) {
    struct Case {
        const char* box;
        const char* caption;
        const char* drive;
    } cases[] = {
        {"My Computer", "本地磁盘 (C:)", "C:\\"}, {"::{x}", "网络驱动器 (Z:)", "Z:\\"},
        {"My Computer", "控制面板", ""},           {"c:\\windows", "system", "C:\\WINDOWS\\"},
        {"D:\\", "x", "D:\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DriveTextOf(c.box, c.caption), c.drive) << c.box << " " << c.caption;
}

TEST_F(Analyzer, TypingFindsTheFirstNameWithThePrefixFromTheStartRowWrapping) {
    for (const char* n : {"apple", "Wind", "windows", "xray", "WIZ"})
        machine.makeDir(std::string("C:\\f\\") + n);
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\f");
    ASSERT_EQ(names(), (std::vector<std::string>{"apple", "Wind", "windows", "WIZ", "xray"}));
    struct Case {
        const char* label;
        toolkit::FindKind kind;
        const char* text;
        int start;
        bool wrap;
        int found;
    } cases[] = {
        {"any letter case", toolkit::FindKind::Partial, "wi", 0, true, 1},
        {"from the start row on", toolkit::FindKind::Partial, "wi", 2, true, 2},
        {"wraps to the top", toolkit::FindKind::Partial, "ap", 3, true, 0},
        {"no wrap, no match", toolkit::FindKind::Partial, "ap", 3, false, -1},
        {"the last row", toolkit::FindKind::Partial, "XR", 0, false, 4},
        {"exact is a prefix search too", toolkit::FindKind::Exact, "WIN", 0, true, 1},
        {"nothing matches", toolkit::FindKind::Partial, "q", 2, true, -1},
        {"by data: nothing", toolkit::FindKind::Data, "wi", 0, true, -1},
        {"by position: nothing", toolkit::FindKind::Position, "wi", 0, true, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(f.ListView.userFind(c.kind, c.text, c.start, c.wrap), c.found) << c.label;
}

TEST_F(Analyzer, OneSortDirectionForEveryColumnAndEveryWindow) {
    machine.writeFile("C:\\o\\b.txt", std::string(3000, 'x'));
    machine.writeFile("C:\\o\\a.doc", std::string(10, 'x'));
    machine.writeFile("C:\\o\\c.bin", std::string(2000, 'x'));
    TFrm_Main& f = open();
    f.BrowseToPath("C:\\o");
    f.ListView.userColumnClick(0);
    EXPECT_EQ(names(), (std::vector<std::string>{"c.bin", "b.txt", "a.doc"})) << "the first click sorts Z to A";
    f.ListView.userColumnClick(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.doc", "c.bin", "b.txt"})) << "the next, on any column, ascending";
    f.ListView.userColumnClick(2);
    EXPECT_EQ(names(), (std::vector<std::string>{"b.txt", "a.doc", "c.bin"})) << "types TXT, DOC, BIN descending";
    EXPECT_EQ(SortColumn, 2);

    // A new window carries on with the shared direction.
    w.reset();
    TFrm_Main& g = open();
    g.BrowseToPath("C:\\o");
    g.ListView.userColumnClick(0);
    EXPECT_EQ(names(), (std::vector<std::string>{"a.doc", "b.txt", "c.bin"}));
}

TEST_F(Analyzer, ClosingSavesTheSettingsWithTheChartSwitch) {
    TFrm_Main& f = open();
    EXPECT_FALSE(f.cbShowChart.checked());
    f.cbShowChart.click();
    EXPECT_TRUE(Setting->IfShowChart);
    f.btnExit.click();
    ASSERT_TRUE(fs::exists(machine.native("C:\\Quor\\quorCleaner.cfg")));
    EXPECT_TRUE(TSetting("C:\\Quor\\quorCleaner.cfg").IfShowChart);
    // The next window shows the switch as saved.
    w.reset();
    EXPECT_TRUE(open().cbShowChart.checked());
}

TEST_F(Analyzer, CommandsOpenTheirFilesAndMails) {
    TFrm_Main& f = open();
    const std::string friendMail =
        "mailto: your.friend@example.com?subject= Try out Varnholt7.0 &Body=My Dear Friend \n\r"
        "  I have try a disk clean tool (Varnholt) and found it is very userful,\n\r"
        "Strongly recommand it to you ! \n\r"
        "  You can check it out at :\n\r"
        "     http://www.quorcleaner.example?src=Friend \n\r"
        "  or download it directly from :\n\r"
        "     http://www.quorcleaner.example/download/varnholt.exe?src=Friend \n\r"
        "\n\r"
        "Best Regards,\n\r"
        "Yours \n\r";
    const std::string rule(48, '_');
    const std::string supportMail = "mailto:support@quorcleaner.example?subject= Tessaly --- 2008Brisa   &Body=FullName:" +
                                    rule + "\n\rAddress(Country):" + rule + "\n\rPhone:" + rule + "\n\rFax:" + rule;
    struct Case {
        const char* label;
        toolkit::Control& control;
        std::string file;
        int show;
    } cases[] = {
        {"tool bar Help", f.btnHelp, "QuorCleaner.chm", 5},
        {"F1", f.Index1, "QuorCleaner.chm", 5},
        {"Contact Author", f.Contents1, "QuorCleaner.chm", 5},
        {"drop-down Help", f.MnuShowAllAccounts, "QuorCleaner.chm", 5},
        {"Online Update", f.Undo1, "C:\\Quor\\update.exe", 5},
        {"Tutorial", f.Repeatcommand1, "C:\\Quor\\Tutorial.exe", 1},
        {"Home Page", f.MnuNew, "http://www.quorcleaner.example/", 1},
        {"Tell a friend", f.ellafriend1, friendMail, 1},
        {"Tell a Friend button", f.RzToolbarButton12, friendMail, 1},
        {"Send Mail To Author", f.RzToolbarButton13, supportMail, 1},
    };
    machine.shell().executeResult = false; // nothing there to open: passed over in silence
    for (const Case& c : cases) {
        machine.shell().requests.clear();
        toolkit::dispatch([&] { c.control.click(); });
        ASSERT_EQ(machine.shell().requests.size(), 1u) << c.label;
        const platform::ShellRequest& r = machine.shell().requests[0];
        EXPECT_EQ(r.verb, "open") << c.label;
        EXPECT_EQ(r.file, c.file) << c.label;
        EXPECT_EQ(r.parameters, "") << c.label;
        EXPECT_EQ(r.show, c.show) << c.label;
    }
    EXPECT_TRUE(tk.messageBoxes.empty());

    struct Key {
        toolkit::MenuItem& item;
        const char* shortcut;
    } keys[] = {{f.DiskAnalyse1, "F3"}, {f.New1, "F4"}, {f.Manager1, "F6"}, {f.NewScheme1, "F7"}};
    machine.shell().requests.clear();
    for (const Key& k : keys) {
        EXPECT_EQ(k.item.shortcut, k.shortcut);
        k.item.click();
    }
    EXPECT_TRUE(machine.shell().requests.empty());
    EXPECT_TRUE(tk.modalLog.empty()) << "F3, F4, F6 and F7 do nothing";
    EXPECT_EQ(f.Exit1.shortcut, "F10");
    EXPECT_EQ(f.Open2.shortcut, "F5");
    EXPECT_EQ(f.ellafriend1.shortcut, "Ctrl+F1");
    EXPECT_EQ(f.About1.shortcut, "F2");
}

TEST_F(Analyzer, TheToolsOpenModallyAndScanThisDirectoryHandsTheFolderToTheCleaner) {
    machine.makeDir("C:\\junk");
    TFrm_Main& f = open();
    std::vector<std::string> scanned;
    tk.onModal("TfrmCleaning", [&](toolkit::Form&) {
        for (const TDirectory& d : Setting->Directorys)
            scanned.push_back(d.Path);
    });
    int drives = Setting->Directorys.Count();
    f.RzToolbarButton9.click();
    EXPECT_EQ(int(scanned.size()), drives) << "at My Computer the list stays as it is";
    scanned.clear();
    f.BrowseToPath("C:\\junk");
    tk.onModal("TfrmCleaning", [&](toolkit::Form&) {
        for (const TDirectory& d : Setting->Directorys)
            scanned.push_back(d.Path);
    });
    f.RzToolbarButton9.click();
    EXPECT_EQ(scanned, std::vector<std::string>{"C:\\junk"});
    f.SpeedButton2.click();
    f.btnOption.click();
    f.About1.click();
    EXPECT_EQ(tk.modalLog,
              (std::vector<std::string>{"TfrmCleaning", "TfrmCleaning", "TfrmUninstall", "TfrmOption", "TFrm_About"}));
    EXPECT_NE(frmCleaning, nullptr) << "kept, hidden, until the analyzer goes";
    w.reset();
    EXPECT_EQ(frmCleaning, nullptr);
}

TEST_F(Analyzer, ExitEndsTheProgramWithoutTheWindowsCloseStep) {
    toolkit::Form start("TFrm_Wizard");
    tk.setMainForm(&start);
    start.show();
    TFrm_Main& f = open();
    int result = 0;
    tk.onModal("TFrm_Main", [&](toolkit::Form&) { f.Exit1.click(); });
    result = f.showModal();
    EXPECT_EQ(result, toolkit::mrAbort);
    EXPECT_FALSE(start.visible()) << "the start window was closed";
    EXPECT_FALSE(fs::exists(machine.native("C:\\Quor\\quorCleaner.cfg"))) << "the start window saves, not this one";
    tk.setMainForm(nullptr);
}

TEST_F(Analyzer, TheNotificationIconRestoresTheWindowAndShowsTheSystemMenu) {
    TFrm_Main& f = open(true);
    ASSERT_EQ(tk.notificationIcons.size(), 1u);
    EXPECT_EQ(tk.notificationIcons[0].second, WM_TRAYNOTIFY);
    EXPECT_TRUE(f.Minilize1.enabled());
    tk.advance(786); // the caption by which hide and restore find the window
    f.Minilize1.click();
    EXPECT_FALSE(f.visible());
    f.message(WM_TRAYNOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(f.visible());
    EXPECT_TRUE(f.maximized);
    tk.setCursorPos({40, 50});
    f.message(WM_TRAYNOTIFY, 0, WM_RBUTTONDOWN);
    ASSERT_EQ(tk.popups.size(), 1u);
    EXPECT_EQ(tk.popups[0].first, &f.Pm_Sys);
    EXPECT_EQ(tk.popups[0].second, (toolkit::Point{40, 50}));
    f.message(WM_TRAYNOTIFY, 0, 512);
    EXPECT_EQ(tk.popups.size(), 1u) << "other mouse messages do nothing";
    w.reset();
    EXPECT_TRUE(tk.notificationIcons.empty());
}

TEST_F(Analyzer, WithoutANotificationAreaTheWindowCannotBeMinimizedToIt) {
    TFrm_Main& f = open(false);
    EXPECT_FALSE(f.Minilize1.enabled());
    EXPECT_TRUE(tk.notificationIcons.empty());
}
