#include <gtest/gtest.h>

#include <filesystem>

#include "analyzer/entry_commands.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;

TEST(EntryCommands, FileRowsAreTheRowsWhoseSizeBeginsWithADigitFrom1To9) {
    struct Case {
        const char* cell;
        bool file;
    } cases[] = {{"9KB", true}, {"1.50MB", true}, {"1024KB", true}, {"", false},
                 {"0KB", false}, {"可用 1.50GB / 共 9.00GB", false}, {" 9KB", false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsFileRow(c.cell), c.file) << c.cell;
}

TEST(EntryCommands, TheFolderAnalyzeCharts) {
    struct Case {
        const char* name;
        const char* pathBox;
        bool selected;
        const char* caption;
        const char* target;
    } cases[] = {
        {"no row: the path box's folder", "C:\\data", false, "", "C:\\data\\"},
        {"a row of a folder", "C:\\data", true, "docs", "C:\\data\\docs\\"},
        {"a row of a drive root's folder", "C:\\", true, "docs", "C:\\docs\\"},
        {"a drive under My Computer", "My Computer", true, "本地磁盘 (C:)", "C:\\"},
        {"a row naming no drive under My Computer", "My Computer", true, "Control Panel", "My Computer\\"},
        {"My Computer itself", "My Computer", false, "", "My Computer\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnalyzeTarget(c.pathBox, c.selected, c.caption), c.target) << c.name;
    EXPECT_EQ(EntryPath("C:\\data", "a.txt"), "C:\\data\\a.txt");
    EXPECT_EQ(EntryPath("C:\\", "a.txt"), "C:\\a.txt");
}

TEST(EntryCommands, TheDeleteQuestionNamesTheEntry) {
    EXPECT_NE(DeleteQuestion("C:\\data\\a.txt", true).find("\"C:\\data\\a.txt\""), std::string::npos);
    EXPECT_NE(DeleteQuestion("C:\\data\\old", false).find("\"C:\\data\\old\""), std::string::npos);
    EXPECT_NE(DeleteQuestion("C:\\data\\a.txt", true), DeleteQuestion("C:\\data\\a.txt", false));
}

TEST(EntryCommands, EmptyingAFolderKeepsItAndNeverFollowsALinkOut) {
    testsupport::TempMachine m("CD");
    m.writeFile("C:\\data\\a.txt", "a");
    m.writeFile("C:\\data\\.hidden", "h");
    m.writeFile("C:\\data\\sub\\deep\\b.txt", "b");
    m.writeFile("D:\\keep\\k.txt", "k");
    fs::create_directory_symlink(m.native("D:\\keep"), m.native("C:\\data\\link"));
    fs::create_symlink(m.native("D:\\keep\\k.txt"), m.native("C:\\data\\filelink"));
    int errors = 0;
    DeleteFolderContents("C:\\data", [&] { ++errors; });
    EXPECT_EQ(errors, 0);
    EXPECT_TRUE(fs::is_directory(m.native("C:\\data")));
    EXPECT_TRUE(fs::is_empty(m.native("C:\\data")));
    EXPECT_EQ(m.readFile("D:\\keep\\k.txt"), "k");

    // A folder that is not there: nothing to do, nothing reported.
    DeleteFolderContents("C:\\gone", [&] { ++errors; });
    EXPECT_EQ(errors, 0);
}
