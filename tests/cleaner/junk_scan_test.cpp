#include <gtest/gtest.h>

#include <filesystem>

#include "cleaner/junk_scanner.h"
#include "cleaner_fixture.h"
#include "platform/platform.h"
#include "support/recorders.h"

namespace fs = std::filesystem;
using cleanertest::CleanerTest;
using Strings = std::vector<std::string>;

TEST(PatternKey, ReducesPatternsToTheirSearchKeys) {
    struct Case {
        const char* pattern;
        const char* key;
    } cases[] = {
        {"*.TMP", ".TMP"}, {"~*.*", "~"}, {"*.~*", ".~"}, {"*.*", "."}, {"?.BAK", ".BAK"}, {"*", ""},
        {"A?B*C", "AB"},   {"**.X", ""},  {"", ""},       {"*.$$$", ".$$$"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PatternKey(c.pattern), c.key) << c.pattern;
}

// Which files the pattern test lists: the key anywhere in the upper-cased name, only in
// paths that name SETTINGS or WINDOWS, never a name of the ignore list.
TEST_F(CleanerTest, PatternTestListsOnlyMatchingFilesInTheTwoAreas) {
    struct Case {
        const char* file;
        bool listed;
    } cases[] = {
        {"C:\\WINDOWS\\TEMP\\A.TMP", true},
        {"C:\\DATA\\A.TMP", false},
        {"C:\\WINDOWS\\X.TMP.OLD", true},
        {"C:\\Windows\\b.tmp", true},
        {"C:\\Documents and Settings\\u\\c.tmp", true},
        {"C:\\MYWINDOWSSTUFF\\d.tmp", true},
        {"C:\\DATA\\WINDOWS.TMP", true}, // the name is part of the path
        {"C:\\WINDOWS\\OLD.BAK", false}, // an inactive pattern
        {"C:\\WINDOWS\\IGNORED.tmp", false},
        {"C:\\WINDOWS\\plain.txt", false},
    };
    pattern("*.TMP");
    pattern("*.BAK", false);
    pattern("*.tmp"); // stored in lower case: matches nothing
    pattern("*");     // an empty key matches nothing
    form.mIgnoreList.setLines({"ignored.TMP"});
    for (const Case& c : cases)
        file(c.file, 10);
    directory("C:\\");
    scan();
    Strings listed = captions();
    for (const Case& c : cases)
        EXPECT_EQ(std::count(listed.begin(), listed.end(), c.file), c.listed ? 1 : 0) << c.file;
    EXPECT_EQ(form.JunkCount, 6);
    EXPECT_EQ(form.JunkSize, 60);
}

TEST_F(CleanerTest, AJunkRowShowsItsSizeAndDates) {
    pattern("*.TMP");
    file("C:\\WINDOWS\\TEMP\\A.TMP", 10);
    directory("C:\\WINDOWS");
    scan();
    ASSERT_EQ(form.Lv_GarbageList.count(), 1);
    toolkit::ListItem row = form.Lv_GarbageList.item(0);
    EXPECT_EQ(row.caption, "C:\\WINDOWS\\TEMP\\A.TMP");
    EXPECT_TRUE(row.checked);
    ASSERT_EQ(row.subItems.size(), 4u);
    EXPECT_EQ(row.subItems[0], "10Byte");
    EXPECT_EQ(row.subItems[2], RowDateText(form.Rows()[0].written));
    EXPECT_NE(form.Rows()[0].written, 0);
}

TEST(RowDateText, IsTheLocalDateMonthDayYearWithTheUsersSeparator) {
    testsupport::FixedClock clock;
    platform::Services saved = platform::services(), s = saved;
    s.clock = &clock;
    platform::install(s);
    using testsupport::FixedClock;
    EXPECT_EQ(RowDateText(FixedClock::fileTime(2008, 8, 1, 12, 0, 0)), "8/1/2008");
    clock.offsetMinutes = 13 * 60;
    EXPECT_EQ(RowDateText(FixedClock::fileTime(2008, 12, 31, 12, 0, 0)), "1/1/2009");
    clock.date = "-";
    EXPECT_EQ(RowDateText(FixedClock::fileTime(2010, 10, 20, 0, 0, 0)), "10-20-2010");
    platform::install(saved);
}

TEST_F(CleanerTest, SizesAreFullSixtyFourBitSizes) {
    pattern("*.TMP");
    sparse("C:\\WINDOWS\\BIG.TMP", 5ull << 30);
    settings.IfCleanZeroFile = true;
    sparse("D:\\FOUR.LOG", 4ull << 30); // exactly 4 GiB: not a zero-byte file
    directory("C:\\");
    directory("D:\\");
    scan();
    EXPECT_EQ(captions(), Strings{"C:\\WINDOWS\\BIG.TMP"});
    EXPECT_EQ(form.Lv_GarbageList.item(0).subItems[0], "5368709120Byte");
    EXPECT_EQ(form.JunkSize, 5368709120LL);
}

TEST_F(CleanerTest, ZeroByteFilesAreListedAnywhereWithoutCounting) {
    settings.IfCleanZeroFile = true;
    pattern("*.TMP");
    file("D:\\X\\E.LOG");
    file("D:\\X\\F.LOG", 1);
    file("C:\\WINDOWS\\Z.TMP"); // empty and junk: two rows, one counted
    form.mIgnoreList.setLines({"E.LOG"}); // the ignore list is for the pattern test only
    directory("C:\\");
    directory("D:\\");
    scan();
    EXPECT_EQ(captions(), (Strings{"C:\\WINDOWS\\Z.TMP", "C:\\WINDOWS\\Z.TMP", "D:\\X\\E.LOG"}));
    EXPECT_EQ(form.Lv_GarbageList.item(2).subItems[0], "0Byte");
    EXPECT_EQ(form.JunkCount, 1);
    EXPECT_EQ(form.JunkSize, 0);
}

TEST_F(CleanerTest, EmptyFoldersAreThoseThatHoldNoFileAtAnyDepth) {
    settings.IfCleanZeroDir = true;
    machine.makeDir("D:\\X\\Y");
    machine.makeDir("D:\\Hidden\\.cache\\deep");
    file("D:\\Zeros\\a.txt"); // zero-byte files are files: the folder is not empty
    file("D:\\Full\\Inner\\data.bin", 3);
    directory("D:\\");
    scan();
    EXPECT_EQ(captions(), (Strings{"D:\\Hidden<Dir>", "D:\\Hidden\\.cache<Dir>", "D:\\Hidden\\.cache\\deep<Dir>",
                                   "D:\\X<Dir>", "D:\\X\\Y<Dir>"}));
    EXPECT_EQ(form.Lv_GarbageList.item(0).subItems[0], "0Byte");
    EXPECT_EQ(form.JunkCount, 5);
}

TEST_F(CleanerTest, AFolderNotEnteredIsStillCountedAndTested) {
    settings.IfCleanZeroDir = true;
    machine.makeDir("D:\\X\\Y");
    file("D:\\top.txt", 1);
    directory("D:\\", false);
    scan();
    EXPECT_EQ(captions(), Strings{"D:\\X<Dir>"});
    EXPECT_EQ(form.ScanCount, 2); // X and top.txt
}

TEST_F(CleanerTest, LinksAndLoopsAreNeitherEnteredNorListed) {
    settings.IfCleanZeroDir = true;
    settings.IfCleanZeroFile = true;
    pattern("*.TMP");
    machine.makeDir("D:\\Empty");
    file("C:\\WINDOWS\\REAL.TMP", 4);
    fs::create_directory_symlink(machine.native("D:\\Empty"), machine.native("D:\\ToEmpty"));
    fs::create_directory_symlink(machine.native("C:\\WINDOWS"), machine.native("D:\\ToWindows"));
    fs::create_directory_symlink(machine.native("D:\\"), machine.native("D:\\Loop"));
    fs::create_symlink(machine.native("C:\\WINDOWS\\REAL.TMP"), machine.native("D:\\Windows.TMP"));
    fs::create_symlink("nowhere", machine.native("D:\\dangling"));
    fs::create_directories(machine.native("D:\\OnlyLink"));
    fs::create_symlink("nowhere", machine.native("D:\\OnlyLink\\l"));
    directory("D:\\");
    scan();
    EXPECT_EQ(captions(), Strings{"D:\\Empty<Dir>"});
    EXPECT_EQ(form.JunkCount, 1);
    // Every entry counted once: Empty, OnlyLink, its link, and five links at the top.
    EXPECT_EQ(form.ScanCount, 8);
}

TEST_F(CleanerTest, CountersCaptionStatusAndSummary) {
    pattern("*.TMP");
    file("C:\\WINDOWS\\A.TMP", 7);
    file("C:\\WINDOWS\\b.txt", 1);
    directory("C:\\");
    directory("D:\\", true, false); // not to be cleaned: never visited
    file("D:\\WINDOWS\\C.TMP", 1);
    scan();
    EXPECT_EQ(form.ScanCount, 4); // the program's folder Quor, WINDOWS and its two files
    EXPECT_EQ(form.JunkCount, 1);
    EXPECT_EQ(form.caption(), "Varnholt  ---  Is Scanning Direcotry [C:\\WINDOWS\\]  ");
    EXPECT_EQ(form.lCleanupDir.text(), "[C:\\]");
    EXPECT_EQ(form.Sb_status.panelText(0), "Scanning File [ b.txt ] ");
    EXPECT_EQ(form.Sb_status.panelText(1), "[扫描分析文件]: 4  [发现垃圾文件]: 1  [垃圾占用空间]: 7 Byte");
    EXPECT_EQ(form.Pb_Process.position(), 100);
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(lastMessage(), "   本次磁盘扫描完成 !!!\n\r-----------------\n\r [共分析文件数量]: 4  \n\r"
                             " [发现垃圾文件数量]: 1 \n\r [垃圾文件空间占用]: 7 字节");
}

TEST_F(CleanerTest, NothingToCleanEndsAtOnceWithThreeZeros) {
    file("C:\\x.txt");
    directory("C:\\", true, false);
    scan();
    EXPECT_EQ(form.Lv_GarbageList.count(), 0);
    EXPECT_EQ(lastMessage(), "   本次磁盘扫描完成 !!!\n\r-----------------\n\r [共分析文件数量]: 0  \n\r"
                             " [发现垃圾文件数量]: 0 \n\r [垃圾文件空间占用]: 0 字节");
    // Without a settings object nothing happens at all.
    form.ScanAll(nullptr);
    EXPECT_EQ(tk.messageBoxes.size(), 1u);
}

TEST_F(CleanerTest, AMissingRootGivesNoRowsAndNoMessageOfItsOwn) {
    directory("C:\\does\\not\\exist");
    directory("Q:\\");
    scan();
    EXPECT_EQ(form.ScanCount, 0);
    EXPECT_EQ(tk.messageBoxes.size(), 1u); // the summary only
}

TEST_F(CleanerTest, ASecondScanStartsFromZero) {
    pattern("*.TMP");
    file("C:\\WINDOWS\\A.TMP", 3);
    directory("C:\\");
    scan();
    scan();
    EXPECT_EQ(form.ScanCount, 3); // Quor, WINDOWS, A.TMP
    EXPECT_EQ(form.JunkCount, 1);
    EXPECT_EQ(form.JunkSize, 3);
    EXPECT_EQ(captions(), Strings{"C:\\WINDOWS\\A.TMP"});
}

TEST_F(CleanerTest, TheProgressBarWrapsAtAHundred) {
    for (int i = 0; i < 130; ++i)
        file("D:\\f" + std::to_string(i));
    form.ScanFolder("D:\\", settings, true);
    EXPECT_EQ(form.Pb_Process.position(), 30);
    EXPECT_EQ(form.ScanCount, 130);
}

// A press of the start button queued as a user's click stops the walk before its next
// entry, at any depth, and the remaining roots end before their first entry.
TEST_F(CleanerTest, AQueuedPressOfTheStartButtonStopsTheScan) {
    for (int i = 0; i < 5; ++i)
        file("C:\\a\\b\\f" + std::to_string(i));
    file("D:\\other");
    directory("C:\\");
    directory("D:\\");
    // The window's own button: its caption says a scan runs.
    form.Btn_Scan.setCaption("暂停 (&P) ||");
    // Pumps: the scan's start, then before each entry: a, b, f0, f1, and f2 takes the press.
    tk.queue([&] { form.Btn_Scan.click(); }, 5);
    scan();
    EXPECT_FALSE(form.Running);
    EXPECT_EQ(form.ScanCount, 4); // a, b, f0, f1
    EXPECT_EQ(form.lCleanupDir.text(), "[D:\\]");
    EXPECT_EQ(form.caption(), "Varnholt  ---  Is Scanning Direcotry [D:\\]  ");
    EXPECT_EQ(lastMessage(), "   本次磁盘扫描完成 !!!\n\r-----------------\n\r [共分析文件数量]: 4  \n\r"
                             " [发现垃圾文件数量]: 0 \n\r [垃圾文件空间占用]: 0 字节");
}

// The folders on the way to the entry where the scan stopped are listed when they hold no
// file, as they would have been before the walk entered them.
TEST_F(CleanerTest, AStopInsideEmptyFoldersStillListsTheWayDown) {
    settings.IfCleanZeroDir = true;
    machine.makeDir("D:\\E1\\E2\\E3");
    machine.makeDir("D:\\E9");
    directory("D:\\");
    form.Btn_Scan.setCaption("暂停 (&P) ||");
    // Pumps: the start, before E1, before E2, and before E3 the press arrives.
    tk.queue([&] { form.Btn_Scan.click(); }, 3);
    scan();
    EXPECT_EQ(captions(), (Strings{"D:\\E1<Dir>", "D:\\E1\\E2<Dir>"}));
    EXPECT_EQ(form.ScanCount, 2);
    EXPECT_EQ(form.JunkCount, 2);
}

TEST_F(CleanerTest, WithATimeSliceAPressStillStopsBeforeTheNextEntry) {
    form.PumpSliceMs = 50;
    for (int i = 0; i < 20; ++i)
        file("C:\\f" + std::to_string(i));
    directory("C:\\");
    form.Btn_Scan.setCaption("暂停 (&P) ||");
    tk.queue([&] { form.Btn_Scan.click(); });
    scan();
    EXPECT_EQ(form.ScanCount, 0);
    EXPECT_EQ(tk.processMessagesCalls, 1);
}
