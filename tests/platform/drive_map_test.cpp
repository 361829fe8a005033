#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/platform.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/posix_system.h"
#include "support/temp_machine.h"

using platform::DriveMap;

TEST(DriveMap, TranslatesBothWays) {
    DriveMap m;
    m.set('C', "/", platform::DRIVE_FIXED);
    m.set('d', "/mnt/data/", platform::DRIVE_FIXED);
    struct Case {
        const char* drive;
        const char* native;
    } cases[] = {
        {"C:\\", "/"},
        {"C:\\etc\\hosts", "/etc/hosts"},
        {"D:\\", "/mnt/data"},
        {"D:\\Photos\\A b.jpg", "/mnt/data/Photos/A b.jpg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(m.toNative(c.drive), c.native) << c.drive;
        EXPECT_EQ(m.toDrivePath(c.native), c.drive) << c.native;
    }
    // Other spellings of the same drive paths.
    EXPECT_EQ(m.toNative("c:"), "/");
    EXPECT_EQ(m.toNative("d:/x/y"), "/mnt/data/x/y");
    EXPECT_EQ(m.toNative("D:\\x\\"), "/mnt/data/x/");
    // The longest root wins; a sibling with the same prefix is not under it.
    EXPECT_EQ(m.toDrivePath("/mnt/database"), "C:\\mnt\\database");
    // Unmapped letters give nothing; native paths pass through.
    EXPECT_EQ(m.toNative("Q:\\x"), "");
    EXPECT_EQ(m.toNative("/already/native"), "/already/native");
}

TEST(DriveMap, LettersStayInOrderAndReplace) {
    DriveMap m;
    m.set('F', "/f", platform::DRIVE_FIXED);
    m.set('C', "/", platform::DRIVE_FIXED);
    m.set('D', "/d", platform::DRIVE_REMOTE);
    m.set('D', "/d2", platform::DRIVE_CDROM);
    m.set('A', "/a", platform::DRIVE_FIXED); // A: and B: are never drives
    ASSERT_EQ(m.drives().size(), 3u);
    EXPECT_EQ(m.drives()[0].letter, 'C');
    EXPECT_EQ(m.drives()[1].nativeRoot, "/d2");
    EXPECT_EQ(m.drives()[1].type, platform::DRIVE_CDROM);
    EXPECT_EQ(m.drives()[2].letter, 'F');
}

TEST(DriveMap, MountTableSkipsPseudoFileSystems) {
    auto tmp = std::filesystem::temp_directory_path();
    std::string mounts =
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "cgroup /sys/fs/cgroup/cpu cgroup rw 0 0\n"
        "devtmpfs /dev devtmpfs rw 0 0\n"
        "/dev/sda1 /etc/hostname ext4 rw 0 0\n"            // a file bind mount
        "server:/export " + tmp.string() + " nfs4 rw 0 0\n"  // network
        "/dev/sr0 /no/such/folder iso9660 ro 0 0\n";         // not a folder here
    DriveMap m = platform::posix::driveMapFromMountTable(mounts);
    ASSERT_EQ(m.drives().size(), 2u);
    EXPECT_EQ(m.drives()[0].nativeRoot, "/");
    EXPECT_EQ(m.drives()[1].letter, 'D');
    EXPECT_EQ(m.drives()[1].type, platform::DRIVE_REMOTE);
}

TEST(MachineRoot, DrivesComeFromDosdevices) {
    testsupport::TempMachine machine("CDF");
    auto& map = machine.platform().driveMap();
    ASSERT_EQ(map.drives().size(), 3u);
    EXPECT_EQ(map.drives()[2].letter, 'F');
    machine.writeFile("F:\\dir\\x.txt", "hello");
    EXPECT_TRUE(std::filesystem::exists(machine.drive('F') / "dir" / "x.txt"));
    EXPECT_EQ(platform::toDrivePath((machine.drive('D') / "a").string()), "D:\\a");
    EXPECT_EQ(platform::files().driveType("F:\\"), platform::DRIVE_FIXED);
    EXPECT_EQ(platform::files().driveType("E:\\"), platform::DRIVE_NO_ROOT_DIR);
    std::int64_t total = 0, freeBytes = 0;
    EXPECT_TRUE(platform::files().diskFreeSpace("C:\\", total, freeBytes));
    EXPECT_GT(total, 0);
    EXPECT_FALSE(platform::files().diskFreeSpace("E:\\", total, freeBytes));
}

TEST(FileErrors, OpenAndCreateCarryThePathAndTheReason) {
    testsupport::TempMachine machine;
    try {
        platform::files().readFile("C:\\missing.cfg");
        FAIL();
    } catch (const platform::Error& e) {
        EXPECT_STREQ(e.what(), "Cannot open file \"C:\\missing.cfg\". No such file or directory");
    }
    try {
        platform::files().writeFile("C:\\no\\such\\dir\\x.cfg", "x");
        FAIL();
    } catch (const platform::Error& e) {
        EXPECT_STREQ(e.what(), "Cannot create file \"C:\\no\\such\\dir\\x.cfg\". No such file or directory");
    }
    try {
        platform::files().writeFileAtomic("C:\\no\\x.cfg", "x");
        FAIL();
    } catch (const platform::FileCreateError& e) {
        EXPECT_STREQ(e.what(), "Cannot create file \"C:\\no\\x.cfg\". No such file or directory");
    }
}

TEST(FileErrors, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
    testsupport::TempMachine machine;
    platform::files().writeFile("C:\\a.cfg", "old");
    platform::files().writeFileAtomic("C:\\a.cfg", std::string("new\0data", 8));
    EXPECT_EQ(platform::files().readFile("C:\\a.cfg"), std::string("new\0data", 8));
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator(machine.drive('C'))) {
        (void)e;
        ++n;
    }
    EXPECT_EQ(n, 1);
}

TEST(NamedMutex, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    testsupport::TempMachine machine;
    std::unique_ptr<platform::NamedMutex> a, b;
    EXPECT_EQ(platform::sys().acquireMutex("Varnholt_Tamrick", a), platform::MutexResult::Acquired);
    // flock locks belong to the open file, so a second open in one process is refused too.
    EXPECT_EQ(platform::sys().acquireMutex("Varnholt_Tamrick", b), platform::MutexResult::Busy);
    a.reset();
    EXPECT_EQ(platform::sys().acquireMutex("Varnholt_Tamrick", b), platform::MutexResult::Acquired);
}

TEST(FileErrors, AtomicWriteRemovesTheCopiesThatSavesCutShortLeft) {
    testsupport::TempMachine machine;
    namespace fs = std::filesystem;
    struct Case {
        const char* label;
        const char* name;
        bool removed;
    } cases[] = {
        {"a copy of a killed save", "quorCleaner.cfg.tmp953808", true},
        {"one digit", "quorCleaner.cfg.tmp7", true},
        {"no digits", "quorCleaner.cfg.tmp", false},
        {"seven digits", "quorCleaner.cfg.tmp1234567", false},
        {"digits and more", "quorCleaner.cfg.tmp12x", false},
        {"the pattern file's copy", "quorCleaner.cfg.Garbage.tmp953808", false},
        {"another name ending alike", "xquorCleaner.cfg.tmp953808", false},
    };
    machine.writeFile("C:\\app\\quorCleaner.cfg", "old");
    for (const auto& c : cases)
        machine.writeFile(std::string("C:\\app\\") + c.name, "left");
    fs::create_directory(machine.native("C:\\app\\quorCleaner.cfg.tmp55"));
    fs::create_symlink(machine.native("C:\\app\\quorCleaner.cfg.tmp"), machine.native("C:\\app\\quorCleaner.cfg.tmp66"));

    platform::files().writeFileAtomic("C:\\app\\quorCleaner.cfg", "new");
    EXPECT_EQ(machine.readFile("C:\\app\\quorCleaner.cfg"), "new");
    for (const auto& c : cases)
        EXPECT_EQ(fs::exists(machine.native(std::string("C:\\app\\") + c.name)), !c.removed) << c.label;
    EXPECT_TRUE(fs::is_directory(machine.native("C:\\app\\quorCleaner.cfg.tmp55")));
    EXPECT_TRUE(fs::is_symlink(machine.native("C:\\app\\quorCleaner.cfg.tmp66")));
}

// The lock may live in a folder other users can write to: what they plant there neither
// makes us create files elsewhere nor keeps the program from starting.
TEST(NamedMutex, OnlyAPlainFileOfOurOwnIsTheLock) {
    namespace fs = std::filesystem;
    testsupport::TempMachine machine;
    const fs::path root = machine.root();
    platform::posix::PosixSystem sys(machine.platform().driveMap(), root.string());
    const fs::path lock = sys.mutexPath("Varnholt_Tamrick");
    ASSERT_EQ(lock.parent_path(), root);
    const fs::path elsewhere = root / "elsewhere";
    const fs::path mine = machine.writeFile("C:\\mine.txt", "mine");

    struct Case {
        const char* label;
        std::function<bool()> plant; // false: it could not be planted
        platform::MutexResult result;
        bool asRootOnly = false; // only root may give a file away
    } cases[] = {
        {"nothing there", [] { return true; }, platform::MutexResult::Acquired},
        {"a plain file of ours", [&] { return bool(std::ofstream(lock)); }, platform::MutexResult::Acquired},
        {"a link to a file not there yet", [&] { fs::create_symlink(elsewhere, lock); return true; },
         platform::MutexResult::Failed},
        {"a link to a file of ours", [&] { fs::create_symlink(mine, lock); return true; }, platform::MutexResult::Failed},
        {"a folder", [&] { return fs::create_directory(lock); }, platform::MutexResult::Failed},
        {"a pipe", [&] { return ::mkfifo(lock.c_str(), 0666) == 0; }, platform::MutexResult::Failed},
        {"another user's file",
         [&] {
             std::ofstream(lock).put('x');
             fs::permissions(lock, fs::perms::all);
             return ::chown(lock.c_str(), 65534, 65534) == 0;
         },
         platform::MutexResult::Failed, true},
    };
    for (const auto& c : cases) {
        if (c.asRootOnly && ::geteuid() != 0)
            continue;
        std::error_code ec;
        fs::remove_all(lock, ec);
        if (!c.plant()) {
            ADD_FAILURE() << c.label << ": could not be planted";
            continue;
        }
        std::unique_ptr<platform::NamedMutex> held;
        EXPECT_EQ(sys.acquireMutex("Varnholt_Tamrick", held), c.result) << c.label;
        EXPECT_EQ(bool(held), c.result == platform::MutexResult::Acquired) << c.label;
        EXPECT_FALSE(fs::exists(elsewhere)) << c.label;
        EXPECT_EQ(machine.readFile("C:\\mine.txt"), "mine") << c.label;
    }
}
