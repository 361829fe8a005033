#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "common/paths.h"
#include "common/sort_keys.h"
#include "platform/platform.h"
#include "services/clock_texts.h"
#include "services/machine_texts.h"
#include "support/recorders.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;
using testsupport::FixedClock;

namespace {

// A temporary machine with a fixed clock installed.
struct ClockedMachine {
    testsupport::TempMachine m;
    FixedClock clock;
    ClockedMachine() {
        auto s = platform::services();
        s.clock = &clock;
        platform::install(s);
    }
};

double date(int y, int m, int d) {
    double v = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, v));
    return v;
}

} // namespace

TEST(LocalSettingsFolder, ReadsTheShellFoldersKeyOfTheUser) {
    testsupport::TempMachine m;
    EXPECT_EQ(LocalSettingsFolder(), ""); // no hive: the key is created, the value is missing
    EXPECT_TRUE(platform::registry().openKey(platform::RegistryRoot::CurrentUser,
                                             "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"));
    std::ofstream(m.root() / "user.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
           "\"Local Settings\"=\"C:\\\\Documents and Settings\\\\u\\\\Local Settings\"\n";
    m.reload();
    EXPECT_EQ(LocalSettingsFolder(), "C:\\Documents and Settings\\u\\Local Settings");
}

TEST(WindowsFolder, TheWindowsFolderOfDriveC) {
    testsupport::TempMachine m;
    EXPECT_EQ(WindowsFolder(), "C:\\WINDOWS");
    m.makeDir("C:\\windows\\system32");
    EXPECT_EQ(WindowsFolder(), "C:\\windows");
}

TEST(PathDisplayName, NamesOfEntriesAndDrives) {
    testsupport::TempMachine m("CD");
    m.writeFile("C:\\dir\\报告.txt");
    EXPECT_EQ(PathDisplayName("C:\\dir\\报告.txt"), "报告.txt");
    EXPECT_EQ(PathDisplayName("C:\\dir\\"), "dir");
    EXPECT_EQ(PathDisplayName("D:\\"), "本地磁盘 (D:)");
    EXPECT_EQ(PathDisplayName("C:\\missing"), "C:\\missing");
}

TEST(DriveRootOf, DriveOrMyComputer) {
    struct Case {
        const char* path;
        const char* root;
    } cases[] = {
        {"D:\\Photos\\2008", "D:\\"}, {"c:", "c:\\"}, {"\\\\server\\share\\x", "My Computer"},
        {"My Computer", "My Computer"}, {"本地磁盘 (E:)", "E:\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DriveRootOf(c.path), c.root) << c.path;
}

TEST(FileTimesText, CreationLastWriteAndNowInLocalTime) {
    ClockedMachine cm;
    cm.clock.offsetMinutes = 8 * 60;
    cm.clock.utcNow = FixedClock::fileTime(2026, 12, 31, 23, 59, 1);
    fs::path p = cm.m.writeFile("C:\\t\\a.txt", "x");
    struct timespec ts[2] = {{1217583018, 0}, {1217583018, 0}}; // 2008-08-01 09:30:18 UTC
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), ts, 0), 0);
    FileTimeTexts t = FileTimesText("C:\\t\\a.txt");
    EXPECT_EQ(t.lastWrite, "2008/08/01,17:30:18");
    EXPECT_EQ(t.now, "2027/01/01,07:59:01");
    EXPECT_EQ(t.creation.size(), t.lastWrite.size());

    cm.clock.date = "-";
    cm.clock.time = ".";
    t = FileTimesText("C:\\t\\a.txt");
    EXPECT_EQ(t.lastWrite, "2008-08-01,17.30.18");
    t = FileTimesText("C:\\t\\missing");
    EXPECT_EQ(t.creation, "");
    EXPECT_EQ(t.lastWrite, "");
    EXPECT_EQ(t.now, "2027-01-01,07.59.01");
    EXPECT_DOUBLE_EQ(FileTimeToLocalDateTime(FixedClock::fileTime(2008, 8, 1, 16, 0, 0)), date(2008, 8, 2));
}

TEST(SortHelpers, SignAndLeadingDigits) {
    EXPECT_EQ(SignOf(-0.5), -1);
    EXPECT_EQ(SignOf(0.0), 0);
    EXPECT_EQ(SignOf(1e-300), 1);
    struct Case {
        const char* text;
        const char* digits;
    } cases[] = {{"1234Byte", "1234"}, {"Byte", "0"}, {"", "0"}, {"007x9", "007"}, {" 12", "0"}};
    for (const auto& c : cases)
        EXPECT_EQ(LeadingDigits(c.text), c.digits) << c.text;
}

TEST(ParseListDate, MonthDayYear) {
    ClockedMachine cm;
    cm.clock.utcNow = FixedClock::fileTime(2026, 6, 1, 0, 0, 0);
    EXPECT_DOUBLE_EQ(ParseListDate("12/31/2008"), date(2008, 12, 31));
    EXPECT_DOUBLE_EQ(ParseListDate("8/1/2008"), date(2008, 8, 1));
    EXPECT_DOUBLE_EQ(ParseListDate("2/29/2008"), date(2008, 2, 29));
    EXPECT_DOUBLE_EQ(ParseListDate("8/1/08"), date(2008, 8, 1));
    EXPECT_DOUBLE_EQ(ParseListDate("12/31/2008 1"), 0); // longer than 10 characters
    for (const char* bad : {"", "2/30/2008", "13/1/2008", "Byte", "8/1", "8/1/2008x", "8.1.2008"})
        EXPECT_THROW(ParseListDate(bad), ConvertError) << bad;
    try {
        ParseListDate("2/30/2008");
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'2/30/2008' is not a valid date");
    }
    // Lists written with the user's own separator read back.
    cm.clock.date = "-";
    EXPECT_DOUBLE_EQ(ParseListDate("8-1-2008"), date(2008, 8, 1));
}

TEST(OsVersionText, PlatformVersionBuildAndServicePack) {
    testsupport::TempMachine m;
    struct Case {
        std::uint32_t platform, major, minor, build;
        const char* sp;
        const char* text;
    } cases[] = {
        {2, 5, 1, 2600, "Service Pack 2", "Windows NT Version 5.1\r\n (Build 2600: Service Pack 2)"},
        {1, 4, 10, 2222, "A", "Windows 95 Version 4.10\r\n (Build 2222: A)"},
        {0, 3, 11, 0, "", "Win32s Version 3.11\r\n (Build 0: )"},
        {9, 1, 2, 3, "x", " Version 1.2\r\n (Build 3: x)"},
    };
    for (const auto& c : cases) {
        m.machine().version = platform::OsVersion{c.major, c.minor, c.build, c.platform, c.sp};
        EXPECT_EQ(OsVersionText(), c.text);
    }
    m.machine().versionFails = true;
    EXPECT_EQ(OsVersionText(), "");
}
