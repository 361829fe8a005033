#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/errors.h"
#include "platform/platform.h"
#include "services/disk.h"
#include "settings/property_stream.h"
#include "settings/setting.h"
#include "settings/settings_files.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;

namespace {

struct SettingsFiles : ::testing::Test {
    testsupport::TempMachine machine{"CDF"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    const std::string cfg = "C:\\Quor\\quorCleaner.cfg";
    const std::string garbage = "C:\\Quor\\quorCleaner.cfg.Garbage";
    bool exists(const std::string& p) { return fs::exists(machine.native(p)); }
};

std::vector<std::string> patternsOf(const TSetting& s) {
    std::vector<std::string> out;
    for (const TGarbage& g : s.Garbages)
        out.push_back(g.GarbageName + "|" + g.Memo + "|" + (g.Ifclean ? "Y" : "N"));
    return out;
}

} // namespace

TEST_F(SettingsFiles, TheSettingsFileLivesInTheProgramFolder) {
    EXPECT_EQ(SettingsFilePath(), cfg);
    EXPECT_EQ(IgnoreListPath(), "C:\\Quor\\Option2.CFG");
}

TEST_F(SettingsFiles, ANewObjectWithoutFilesHasTheDefaultsAndEveryDrive) {
    TSetting s;
    EXPECT_FALSE(s.LoadError());
    EXPECT_TRUE(s.AutoUpdate);
    EXPECT_FALSE(s.ShowTips);
    EXPECT_EQ(s.SlicePercent, 10);
    EXPECT_EQ(s.Garbages.Count(), 0);
    ASSERT_EQ(s.Directorys.Count(), 3);
    const char* roots[] = {"C:\\", "D:\\", "F:\\"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.Directorys[i].Path, roots[i]);
        EXPECT_TRUE(s.Directorys[i].IncludeSubDir);
        EXPECT_TRUE(s.Directorys[i].IfClean);
    }
    EXPECT_FALSE(exists(cfg)); // reading writes nothing
}

TEST_F(SettingsFiles, SavingTheDefaultsWritesThe443BytesAndAnEmptyPatternFile) {
    TSetting s;
    s.SaveToFile(cfg);
    EXPECT_EQ(machine.readFile(cfg).size(), 443u);
    ASSERT_TRUE(exists(garbage));
    EXPECT_EQ(machine.readFile(garbage), "");
    // No temporary file is left beside them.
    int files = 0;
    for (auto& e : fs::directory_iterator(machine.native("C:\\Quor"))) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(SettingsFiles, SavedSettingsComeBackAndTheDirectoryListIsRebuilt) {
    {
        TSetting s;
        s.ShowTips = true;
        s.SlicePercent = 200;
        s.LastCleanDate = 39661.5;
        s.Directorys.Clear();
        TDirectory& d = s.Directorys.Add();
        d.Path = "D:\\work";
        s.Garbages.Add() = [] { TGarbage g; g.GarbageName = "*.BAK"; g.Memo = "备份文件"; g.Ifclean = true; return g; }();
        s.SaveToFile(cfg);
    }
    EXPECT_EQ(machine.readFile(garbage), "*.BAK\r\n备份文件\r\nY\r\n");
    TSetting s;
    EXPECT_FALSE(s.LoadError());
    EXPECT_TRUE(s.ShowTips);
    EXPECT_EQ(s.SlicePercent, 200);
    EXPECT_EQ(s.LastCleanDate, 39661.5);
    EXPECT_EQ(patternsOf(s), (std::vector<std::string>{"*.BAK|备份文件|Y"}));
    // The narrowed list is not stored: every drive again.
    ASSERT_EQ(s.Directorys.Count(), 3);
    EXPECT_EQ(s.Directorys[0].Path, "C:\\");
}

TEST_F(SettingsFiles, PatternFileCases) {
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> patterns;
    } cases[] = {
        {"empty file", "", {}},
        {"three lines", "*.TMP\r\n临时文件\r\nY\r\n", {"*.TMP|临时文件|Y"}},
        {"no line end at the end", "*.TMP\r\nm\r\nN", {"*.TMP|m|N"}},
        {"four lines", "*.TMP\r\nm\r\nY\r\n*.LOG\r\n", {"*.TMP|m|Y", "*.LOG||N"}},
        {"extra empty line", "*.TMP\r\nm\r\nY\r\n\r\n", {"*.TMP|m|Y", "||N"}},
        {"lower-case y", "a\r\nb\r\ny\r\n", {"a|b|Y"}},
        {"Yes is not Y", "a\r\nb\r\nYes\r\n", {"a|b|N"}},
        {"bare LF", "a\nb\nY\n", {"a|b|Y"}},
    };
    for (const Case& c : cases) {
        machine.writeFile(garbage, c.text);
        TSetting s;
        EXPECT_EQ(patternsOf(s), c.patterns) << c.what;
    }
}

TEST_F(SettingsFiles, APatternFileReplacesThePatternsAndNoneLeavesThem) {
    TSetting s;
    s.Garbages.Add().GarbageName = "*.OLD";
    s.LoadFromFile(cfg); // neither file exists
    EXPECT_EQ(patternsOf(s), (std::vector<std::string>{"*.OLD||N"}));
    machine.writeFile(garbage, "*.NEW\r\n\r\nY\r\n");
    s.LoadFromFile(cfg);
    EXPECT_EQ(patternsOf(s), (std::vector<std::string>{"*.NEW||Y"}));
}

TEST_F(SettingsFiles, ABadSettingsFileIsReportedKeptAndStillReadsThePatterns) {
    std::string bad = std::string(1, '\x09') + "AutoClean" + '\x09' + std::string(1, '\x03') + "Foo" + '\x09';
    machine.writeFile(cfg, bad);
    machine.writeFile(garbage, "*.BAK\r\nm\r\nY\r\n");
    TSetting s;
    ASSERT_TRUE(s.LoadError());
    try {
        std::rethrow_exception(s.LoadError());
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Error reading TSetting.Foo: Property Foo does not exist");
    }
    EXPECT_TRUE(s.AutoClean);             // read before the bad record
    EXPECT_EQ(s.Directorys.Count(), 3);   // the object is complete
    EXPECT_EQ(s.Garbages.Count(), 1);     // the patterns were not lost
    s.SaveToFile(cfg);
    EXPECT_EQ(machine.readFile(cfg + ".bad"), bad);
    EXPECT_FALSE(exists(garbage + ".bad"));
    EXPECT_EQ(machine.readFile(garbage), "*.BAK\r\nm\r\nY\r\n");
    // Kept once: the next save does not overwrite the kept copy with good settings.
    s.SaveToFile(cfg);
    EXPECT_EQ(machine.readFile(cfg + ".bad"), bad);
}

TEST_F(SettingsFiles, ASettingsFileThatCannotBeOpenedGivesTheOpenError) {
    machine.makeDir(cfg + "\\inside"); // a folder where the file should be
    TSetting s;
    ASSERT_TRUE(s.LoadError());
    try {
        std::rethrow_exception(s.LoadError());
    } catch (const platform::FileOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + cfg + "\". ", 0), 0u) << e.what();
    }
}

TEST_F(SettingsFiles, AFailedSaveLeavesTheOldFilesAsTheyWere) {
    TSetting s;
    s.SaveToFile(cfg);
    machine.writeFile(garbage, "*.OLD\r\nm\r\nY\r\n");
    // The settings file cannot be replaced: the pattern file is then not written.
    fs::remove(machine.native(cfg));
    machine.makeDir(cfg + "\\inside");
    s.Garbages.Add().GarbageName = "*.NEW";
    try {
        s.SaveToFile(cfg);
        ADD_FAILURE() << "no error";
    } catch (const platform::FileCreateError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + cfg + "\". ", 0), 0u) << e.what();
    }
    EXPECT_EQ(machine.readFile(garbage), "*.OLD\r\nm\r\nY\r\n");
    EXPECT_TRUE(fs::is_directory(machine.native(cfg)));
}

TEST_F(SettingsFiles, APatternFileThatCannotBeCreatedGivesTheSystemsInputOutputErrorAlone) {
    TSetting s;
    s.Garbages.Add().GarbageName = "*.NEW";
    machine.makeDir(garbage + "\\inside"); // a folder where the pattern file should be
    try {
        s.SaveToFile(cfg);
        ADD_FAILURE() << "no error";
    } catch (const platform::InOutError& e) {
        EXPECT_STREQ(e.what(), std::strerror(EISDIR));
    } catch (const std::exception& e) {
        ADD_FAILURE() << "another error: " << e.what();
    }
    EXPECT_TRUE(exists(cfg)); // the settings file went first
    EXPECT_TRUE(fs::is_directory(machine.native(garbage)));
}

TEST_F(SettingsFiles, IgnoreListIsLinesEndedByCrLf) {
    std::string path = IgnoreListPath();
    EXPECT_THROW(LoadLinesFromFile(path), platform::FileOpenError);
    EXPECT_TRUE(LoadLinesFromFile(path, MissingFile::Empty).empty());
    std::vector<std::string> lines = LoadLinesFromFile(path, MissingFile::Empty);
    lines.push_back("keep1.txt");
    SaveLinesToFile(path, lines);
    EXPECT_EQ(machine.readFile(path), "keep1.txt\r\n");
    EXPECT_EQ(machine.readFile(path).size(), 11u);
    SaveLinesToFile(path, {});
    EXPECT_EQ(machine.readFile(path), "");
    EXPECT_TRUE(LoadLinesFromFile(path).empty());
    machine.writeFile(path, "a.txt\r\n\r\nb.txt\nc.txt");
    EXPECT_EQ(LoadLinesFromFile(path), (std::vector<std::string>{"a.txt", "", "b.txt", "c.txt"}));
}

TEST_F(SettingsFiles, RemoveByPathIgnoresLetterCase) {
    TDirectorys list;
    for (const char* p : {"C:\\", "D:\\", "C:\\"})
        list.Add().Path = p;
    list.RemoveByPath("c:\\");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list[0].Path, "D:\\");
}

TEST_F(SettingsFiles, DiskTableOfDrivesCDF) {
    TDisk disk;
    EXPECT_EQ(disk.Count, 3);
    EXPECT_EQ(disk.DriveName(0), "C:\\");
    EXPECT_EQ(disk.DriveName(2), "F:\\");
    EXPECT_EQ(disk.DriveName(3), "");
    EXPECT_EQ(disk.DriveName(-1), "");
    EXPECT_EQ(disk.DriveInfo(5), TDriveRecord{});
    EXPECT_EQ(disk.DriveInfo(0), TDriveRecord{});
    EXPECT_EQ(disk.DriveInfo(27), TDriveRecord{});
    EXPECT_EQ(disk.DriveInfo(1), TDriveRecord{});
    TDriveRecord f = disk.DriveInfo(6);
    EXPECT_EQ(f.DriveNo, 6);
    EXPECT_EQ(f.DriveType, 3);
    EXPECT_GT(f.DriveSize, 0);
    EXPECT_GE(f.DriveFree, 0);
    EXPECT_LE(f.DriveFree, f.DriveSize);
    EXPECT_EQ(TDisk::DriveTypeOf("E:\\"), 1);
    EXPECT_FALSE(TSetting::DriveExists("E:\\"));
    EXPECT_TRUE(TSetting::DriveExists("F:\\"));
}

TEST_F(SettingsFiles, NetworkAndDiscDrivesAreNotAskedForTheirSpace) {
    // A drive type of the machine root: "dosdevices/x:" links with a type beside them is
    // the platform's business; here the map is changed directly.
    machine.platform().driveMap().set('D', machine.drive('D').string(), platform::DRIVE_REMOTE);
    machine.platform().driveMap().set('F', machine.drive('F').string(), platform::DRIVE_CDROM);
    TDisk disk;
    EXPECT_EQ(disk.DriveInfo(4), (TDriveRecord{4, 0, 0, 4}));
    EXPECT_EQ(disk.DriveInfo(6), (TDriveRecord{6, 0, 0, 5}));
    EXPECT_GT(disk.DriveInfo(3).DriveSize, 0);
}

TEST_F(SettingsFiles, TheShippedPatternFileHoldsTheTwentyEightActivePatterns) {
    fs::path shipped = fs::path(QUOR_DATA_DIR) / "quorCleaner.cfg.Garbage";
    std::ifstream in(shipped, std::ios::binary);
    ASSERT_TRUE(in) << shipped;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    machine.writeFile(garbage, text);
    TSetting s;
    ASSERT_EQ(s.Garbages.Count(), 28);
    for (const TGarbage& g : s.Garbages)
        EXPECT_TRUE(g.Ifclean) << g.GarbageName;
    EXPECT_EQ(patternsOf(s).front(), "*.BAK|备份文件|Y");
    EXPECT_EQ(patternsOf(s)[6], "*.DMP|Dr.Watson  内存临时文件|Y");
    EXPECT_EQ(patternsOf(s).back(), "*.DDP|DELPHI  临时文件|Y");
    // Written back unchanged, byte for byte.
    s.SaveToFile(cfg);
    EXPECT_EQ(machine.readFile(garbage), text);
}
