#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/percent_encoding.h"
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

namespace {

// A machine's files as the system areas are read from them.
const char* const kPasswd =
    "root:x:0:0:root:/root:/bin/bash\n"
    "daemon:x:1:1:daemon:/usr/sbin:/usr/sbin/nologin\n"
    "svc:x:999:999:a service whose home is the root:/:/usr/sbin/nologin\n"
    "someone:x:1000:1000:Some One,,,:/home/someone/:/bin/bash\n"
    "far:x:1001:1001::/data/users/far:/bin/sh\n"
    "broken line\n";
const char* const kMounts =
    "/dev/sda1 / ext4 rw 0 0\n"
    "proc /proc proc rw 0 0\n"
    "/dev/sdb1 /srv/disk ext4 rw 0 0\n"
    "/dev/sdc1 /backup\\040disk vfat rw 0 0\n";
const char* const kFstab =
    "# <file system> <mount point> <type> <options> <dump> <pass>\n"
    "UUID=1 / ext4 defaults 0 1\n"
    "UUID=2 /archive ext4 noauto 0 2\n"
    "/swapfile none swap sw 0 0\n";

} // namespace

TEST(PosixSystem, SystemAreasAreTheSystemsFoldersHomesAndMountPointsThroughTheDriveMap) {
    DriveMap map;
    map.set('C', "/", DRIVE_FIXED);
    map.set('D', "/var/lib/data", DRIVE_FIXED);
    map.set('E', "/home/u", DRIVE_FIXED);
    posix::PosixSystem sys(map, std::nullopt, posix::SystemAreas("/", kPasswd, kMounts, kFstab));
    struct Case {
        const char* label;
        const char* path;
        bool inArea;
    } cases[] = {
        {"system folder", "C:\\usr\\lib\\x.py", true},
        {"system folder itself", "C:\\etc", true},
        {"with a separator", "C:\\etc\\", true},
        {"boot", "C:\\boot\\grub", true},
        {"var", "C:\\var\\log\\a", true},
        {"opt", "C:\\opt\\x", true},
        {"srv", "C:\\srv", true},
        {"bin", "C:\\bin\\sh", true},
        {"sbin", "C:\\sbin\\init", true},
        {"lib", "C:\\lib\\a.so", true},
        {"lib64", "C:\\lib64\\b", true},
        {"libx32", "C:\\libx32", true},
        {"root's home", "C:\\root\\.config", true},
        {"runtime folder", "C:\\tmp\\runtime-root", true},
        {"run", "C:\\run\\user\\0", true},
        {"media", "C:\\media", true},
        {"a mount point under mnt", "C:\\mnt\\usb", true},
        {"a home folder", "C:\\home\\someone", true},
        {"inside a home folder", "C:\\home\\someone\\Desktop", true},
        {"a file of a home folder", "C:\\home\\someone\\.hushlogin", true},
        {"the folder holding homes", "C:\\home", true},
        {"no user's home", "C:\\home\\other", false},
        {"a name that begins like a home", "C:\\home\\someonex", false},
        {"a home elsewhere", "C:\\data\\users\\far\\x", true},
        {"holding a home elsewhere", "C:\\data", true},
        {"beside a home elsewhere", "C:\\data\\other", false},
        {"mount point with a blank", "C:\\backup disk", true},
        {"inside it", "C:\\backup disk\\old", true},
        {"a name that begins like it", "C:\\backup", false},
        {"a mount point only fstab names", "C:\\archive", true},
        {"swap's 'none' is no folder", "C:\\none", false},
        {"lost+found at the top", "C:\\lost+found", true},
        {"lost+found deeper", "C:\\x\\lost+found\\y", true},
        {"an ordinary folder", "C:\\old_root", false},
        {"a home of / covers nothing", "C:\\old_root\\x", false},
        {"begins like lib", "C:\\library\\x", false},
        {"begins like usr", "C:\\usrx", false},
        {"dots worked out", "C:\\tmp\\..\\etc\\x", true},
        {"dots out of a home", "C:\\home\\someone\\..\\other", false},
        {"the root holds them all", "C:\\", true},
        {"through another drive", "D:\\x", true},
        {"a drive that is no home", "E:\\var\\x", false},
        {"unmapped drive", "Q:\\usr", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sys.inSystemArea(c.path), c.inArea) << c.label << ": " << c.path;

    // A stand-in root: the same files, seen from a folder that is not "/".
    posix::SystemAreas standIn("/stand/in/", kPasswd, kMounts, kFstab);
    EXPECT_TRUE(standIn.reaches("/stand/in/home/someone/Templates"));
    EXPECT_TRUE(standIn.reaches("/stand/in/mnt"));
    EXPECT_TRUE(standIn.reaches("/stand/in"));
    EXPECT_FALSE(standIn.reaches("/stand/in/old_root"));
    EXPECT_FALSE(standIn.reaches("/home/someone"));
    EXPECT_FALSE(standIn.reaches("/stand/inx/home/someone"));
    EXPECT_EQ(standIn.named(), (std::vector<std::string>{"/archive", "/backup disk", "/data/users/far", "/home/someone",
                                                        "/proc", "/root", "/srv/disk", "/usr/sbin"}));

    // A machine root's drives hold no operating system of their own.
    testsupport::TempMachine m;
    m.makeDir("C:\\usr\\lib");
    EXPECT_FALSE(platform::sys().inSystemArea("C:\\usr\\lib"));
}

TEST(PosixShell, AddressesReachTheOpenerWithWhatAUriCannotCarryEncoded) {
    struct Case {
        const char* label;
        const char* address;
        const char* uri;
    } cases[] = {
        {"plain", "http://www.example.com/a?b=c&d", "http://www.example.com/a?b=c&d"},
        {"blanks and line ends", "mailto: x@y?subject= Hi &Body=a\n\rb", "mailto:%20x@y?subject=%20Hi%20&Body=a%0A%0Db"},
        {"an escape stays, a bare percent does not", "http://x/%41%zz%", "http://x/%41%25zz%25"},
        {"quotes and braces", "http://x/\"{|}\"", "http://x/%22%7B%7C%7D%22"},
        {"bytes above 127", "mailto:x?subject=\xE4\xBD\xA0", "mailto:x?subject=%E4%BD%A0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::posix::percentEncodeAddress(c.address), c.uri) << c.label;
}
