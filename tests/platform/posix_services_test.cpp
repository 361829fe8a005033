#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/posix_system.h"
#include "support/temp_machine.h"

using namespace platform;

TEST(PosixClock, SeparatorsOfTheLocaleFormats) {
    struct Case {
        const char* format;
        const char* separator;
    } cases[] = {
        {"%m/%d/%y", "/"}, {"%d.%m.%Y", "."}, {"%Y-%m-%d", "-"}, {"%Y年%m月%d日", "/"},
        {"%H:%M:%S", ":"}, {"%Ih%Mm", "/"}, {"%e/%m/%Y", "/"}, {"%Od.%Om.%EY", "."}, {"", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(posix::separatorOfFormat(c.format, "/"), c.separator) << c.format;
}

TEST(PosixClock, UtcFileTimesInTheProcessTimeZone) {
    ::setenv("TZ", "CST-8", 1);
    ::tzset();
    posix::PosixClock clock;
    SystemTime t;
    // 2008-08-01 09:30:18.250 UTC.
    FileTime ft = (1217583018LL + 11644473600LL) * 10000000LL + 2500000;
    ASSERT_TRUE(clock.toLocal(ft, t));
    EXPECT_EQ(t, (SystemTime{2008, 8, 1, 17, 30, 18, 250}));
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
    ASSERT_TRUE(clock.toLocal(ft, t));
    EXPECT_EQ(t.hour, 9);
    ::unsetenv("TZ");
    ::tzset();
    // Now is after the day this was written.
    EXPECT_GT(clock.now(), (1765324800LL + 11644473600LL) * 10000000LL);
}

TEST(PosixMachine, VersionOfTheKernelRelease) {
    OsVersion v = posix::versionFromRelease("Linux", "6.18.44-fc-v1403");
    EXPECT_EQ(v.platformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(v.major, 6u);
    EXPECT_EQ(v.minor, 18u);
    EXPECT_EQ(v.build, 44u);
    EXPECT_EQ(v.servicePack, "Linux 6.18.44-fc-v1403");
    v = posix::versionFromRelease("Linux", "5.4");
    EXPECT_EQ(v.minor, 4u);
    EXPECT_EQ(v.build, 0u);
}

TEST(PosixMachine, PrivilegeStepsAndShortPaths) {
    testsupport::TempMachine m;
    posix::PosixMachine& machine = m.platform().machine();
    EXPECT_TRUE(machine.openProcessToken());
    EXPECT_FALSE(machine.lookupPrivilegeValue("SeNoSuchPrivilege"));
    EXPECT_NE(machine.adjustTokenPrivileges() & 0xFF, 0u);
    EXPECT_TRUE(machine.lookupPrivilegeValue("SeShutdownPrivilege"));
    // (exitWindows is never called by a test.)
    m.writeFile("C:\\a b\\c.exe");
    ShortPath s = machine.shortPathName("C:\\a b\\c.exe", 66);
    EXPECT_EQ(s.status, ShortPath::Ok);
    EXPECT_EQ(s.path, "C:\\a b\\c.exe");
    EXPECT_EQ(machine.shortPathName("C:\\a b\\c.exe", 12).status, ShortPath::TooLong);
    EXPECT_EQ(machine.shortPathName("C:\\a b\\c.exe", 13).status, ShortPath::Ok);
    s = machine.shortPathName("C:\\none", 66);
    EXPECT_EQ(s.status, ShortPath::Failed);
    EXPECT_FALSE(s.errorText.empty());
}

TEST(PosixSystem, SystemAreasAreTheOperatingSystemsFoldersThroughTheDriveMap) {
    DriveMap map;
    map.set('C', "/", DRIVE_FIXED);
    map.set('D', "/var/lib/data", DRIVE_FIXED);
    map.set('E', "/home/u", DRIVE_FIXED);
    posix::PosixSystem sys(map, std::nullopt);
    struct Case {
        const char* path;
        bool inArea;
    } cases[] = {
        {"C:\\usr\\lib\\x.py", true}, {"C:\\etc", true},        {"C:\\etc\\", true},
        {"C:\\boot\\grub", true},     {"C:\\var\\log\\a", true}, {"C:\\opt\\x", true},
        {"C:\\srv", true},              {"C:\\bin\\sh", true},     {"C:\\sbin\\init", true},
        {"C:\\lib\\a.so", true},       {"C:\\lib64\\b", true},    {"C:\\libx32", true},
        {"C:\\home\\u\\usr", false},  {"C:\\usrx", false},       {"C:\\library\\x", false},
        {"C:\\tmp\\..\\etc\\x", true},  {"C:\\", false},           {"D:\\x", true},
        {"E:\\var\\x", false},         {"C:\\home\\bin", false},  {"Q:\\usr", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sys.inSystemArea(c.path), c.inArea) << c.path;
    // A machine root's drives hold no operating system of their own.
    testsupport::TempMachine m;
    m.makeDir("C:\\usr\\lib");
    EXPECT_FALSE(platform::sys().inSystemArea("C:\\usr\\lib"));
}
