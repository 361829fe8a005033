#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "settings/date_time.h"
#include "settings/system_helpers.h"
#include "support/recorders.h"
#include "support/temp_machine.h"
#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"

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

TEST(ShortPathOf, ShortFormOrTheTextLessItsQuote) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    tk.setApplicationTitle("QuorCleaner");
    m.writeFile("C:\\Program Files\\X\\unins000.exe");
    EXPECT_EQ(ShortPathOf("  C:\\Program Files\\X\\unins000.exe "), "C:\\Program Files\\X\\unins000.exe");
    EXPECT_TRUE(tk.messageBoxes.empty());
    // The system cannot shorten a quoted text: its error is shown, the quote dropped.
    EXPECT_EQ(ShortPathOf("\"C:\\Program Files\\X\\unins000.exe\""), "\"C:\\Program Files\\X\\unins000.exe");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "No such file or directory");
    EXPECT_EQ(tk.messageBoxes[0].caption, "QuorCleaner");
    EXPECT_EQ(ShortPathOf("C:\\nothing "), "C:\\nothing "); // blanks stay in the fallback
    // 65 characters fit in the room of 66; 66 do not, and give no message.
    std::string dir = "C:\\" + std::string(58, 'd');
    m.writeFile(dir + "\\a.exe");
    m.writeFile(dir + "\\ab.exe");
    tk.messageBoxes.clear();
    EXPECT_EQ(ShortPathOf(dir + "\\a.exe"), dir + "\\a.exe");
    EXPECT_EQ(ShortPathOf(dir + "\\ab.exe\""), dir + "\\ab.exe");
    EXPECT_EQ(ShortPathOf(dir + "\\ab.exe"), dir + "\\ab.exe");
    EXPECT_EQ(tk.messageBoxes.size(), 1u); // only for the quoted one, which does not exist
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

TEST(ApplicationWindows, HideToTheNotificationAreaAndShowMaximised) {
    toolkit::HeadlessToolkit tk;
    toolkit::Form main("TFrm_Wizard"), analyzer("TFrm_Main"), other("TFrm_Other");
    analyzer.setCaption(kAnalyzerWindowTitle);
    tk.setMainForm(&main);
    main.show();
    analyzer.show();
    other.show();
    HideApplicationWindows();
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(analyzer.visible());
    EXPECT_TRUE(other.visible());
    EXPECT_TRUE(tk.applicationHidden());
    // A caption that differs (one trailing blank less) is another window.
    analyzer.setCaption("Tessaly --- 2008Brisa ");
    toolkit::Form dialog("TFrm_Dialog");
    ShowApplicationWindows(&dialog);
    EXPECT_FALSE(analyzer.visible());
    EXPECT_TRUE(dialog.visible() && dialog.maximized);
    analyzer.setCaption(kAnalyzerWindowTitle);
    ShowApplicationWindows(&dialog);
    EXPECT_TRUE(analyzer.visible() && analyzer.maximized);
    EXPECT_FALSE(tk.applicationHidden());
    EXPECT_EQ(tk.restoreTopmostCalls, 2);
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

TEST(ShutdownComputer, TakesThePrivilegeThenPowersOff) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    // The installed machine service is the recorder: no test reaches the real power-off.
    ASSERT_EQ(&platform::machine(), &m.machine());
    m.machine().version = platform::OsVersion{5, 1, 2600, 2, "Service Pack 2"};
    ShutdownComputer();
    EXPECT_EQ(m.machine().calls, (std::vector<std::string>{"openProcessToken", "lookupPrivilegeValue SeShutdownPrivilege",
                                                           "adjustTokenPrivileges", "exitWindows 12"}));
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST(ShutdownComputer, AFailedStepShowsExitErrorAndStops) {
    struct Case {
        bool token, lookup;
        std::uint32_t adjustError;
        const char* title;
        size_t calls;
    } cases[] = {
        {false, true, 0, "OpenProcessToken() Failed", 1},
        {true, false, 0, "LookupPrivilegeValue() Failed", 2},
        {true, true, 1300, "AdjustTokenPrivileges() Failed", 3},
    };
    for (const auto& c : cases) {
        testsupport::TempMachine m;
        toolkit::HeadlessToolkit tk;
        m.machine().version = platform::OsVersion{5, 1, 2600, 2, ""};
        m.machine().tokenOpens = c.token;
        m.machine().privilegeFound = c.lookup;
        m.machine().adjustError = c.adjustError;
        ShutdownComputer();
        EXPECT_TRUE(m.machine().exitRequests.empty()) << c.title;
        EXPECT_EQ(m.machine().calls.size(), c.calls) << c.title;
        ASSERT_EQ(tk.messageBoxes.size(), 1u) << c.title;
        EXPECT_EQ(tk.messageBoxes[0].text, "Exit Error");
        EXPECT_EQ(tk.messageBoxes[0].caption, c.title);
        EXPECT_EQ(tk.messageBoxes[0].flags, unsigned(toolkit::MB_OK));
    }
    // Only the low 8 bits of the error code count.
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    m.machine().version = platform::OsVersion{5, 1, 2600, 2, ""};
    m.machine().adjustError = 0x100;
    ShutdownComputer();
    EXPECT_EQ(m.machine().exitRequests, std::vector<unsigned>{12});
}

TEST(ShutdownComputer, OlderSystemsShutDownWithoutPrivileges) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    m.machine().version = platform::OsVersion{4, 10, 2222, 1, "A"};
    ShutdownComputer();
    EXPECT_EQ(m.machine().calls, std::vector<std::string>{"exitWindows 5"});
    // The version of this machine as the platform reports it takes the privileged path.
    m.machine().version.reset();
    m.machine().calls.clear();
    ShutdownComputer();
    ASSERT_FALSE(m.machine().calls.empty());
    EXPECT_EQ(m.machine().calls[0], "openProcessToken");
}
