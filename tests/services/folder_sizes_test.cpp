#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/platform.h"
#include "common/size_units.h"
#include "services/folder_sizes.h"
#include "support/mount_stand_in.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t GiB = std::int64_t(1) << 30;

void sparse(testsupport::TempMachine& m, const std::string& path, std::int64_t size) {
    fs::resize_file(m.writeFile(path), std::uintmax_t(size));
}

// A tree with links that lead out of it: to "/", to its own parent, to a folder beside it.
void addLinksOut(testsupport::TempMachine& m, const std::string& folder) {
    m.writeFile("C:\\outside\\keep.bin", std::string(1000, 'k'));
    fs::path f = m.native(folder);
    fs::create_directory_symlink("/", f / "root");
    fs::create_directory_symlink("..", f / "up");
    fs::create_directory_symlink(m.native("C:\\outside"), f / "beside");
    fs::create_symlink(m.native("C:\\outside\\keep.bin"), f / "file-link");
}

} // namespace

TEST(DirectorySize, CountsEveryFileBelowAndOnlyFiles) {
    testsupport::TempMachine m;
    m.writeFile("C:\\a\\.hidden\\five.txt", "12345");
    m.writeFile("C:\\z\\e1");
    m.writeFile("C:\\z\\e2");
    m.makeDir("C:\\z\\empty\\deeper");
    sparse(m, "C:\\big\\four.img", 4 * GiB);
    m.writeFile("C:\\mix\\x\\y\\z\\3.txt", "abc");
    m.writeFile("C:\\mix\\.cache\\7.txt", "1234567");
    m.writeFile("C:\\mix\\top.txt", "12");
    struct Case {
        const char* folder;
        std::int64_t size;
    } cases[] = {
        {"C:\\a", 5},          // only a hidden subfolder holding 5 bytes
        {"C:\\z", 0},          // zero-byte files and empty folders
        {"C:\\big", 4 * GiB},  // all 64 bits: a 4 GiB file is not empty
        {"C:\\mix", 12},
        {"C:\\mix\\", 12},     // a trailing separator changes nothing
        {"C:\\nothing", 0},
        {"C:\\mix\\top.txt", 0}, // not a folder
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DirectorySize(c.folder), c.size) << c.folder;
        EXPECT_EQ(DirectorySizeIsZero(c.folder), c.size == 0) << c.folder;
    }
    // Native folders work the same way.
    EXPECT_EQ(DirectorySize(m.native("C:\\mix").string()), 12);
}

TEST(DirectorySize, NeverEntersLinksOrMounts) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\own.txt", "123");
    addLinksOut(m, "C:\\t");
    EXPECT_EQ(DirectorySize("C:\\t"), 3);
    EXPECT_EQ(FolderSizeIn("C:\\t", 2), 3.0);
    EXPECT_EQ(DirectorySize("C:\\t\\beside"), 0); // a link is not entered, even when named
    fs::path mnt = m.makeDir("C:\\t\\mnt");
    auto tmpfs = testsupport::MountStandIn::tmpfs(mnt.string());
    if (!tmpfs.ok())
        GTEST_SKIP() << testsupport::MountStandIn::lastFailure();
    m.writeFile("C:\\t\\mnt\\other.bin", std::string(100, 'o'));
    auto bind = testsupport::MountStandIn::bind(m.native("C:\\t").string(), m.makeDir("C:\\t\\again").string());
    ASSERT_TRUE(bind.ok());
    EXPECT_EQ(DirectorySize("C:\\t"), 3);
    EXPECT_EQ(FolderSizeIn("C:\\t", 2), 3.0);
}

TEST(FolderHoldsNoFile, OnlyFoldersOrNothingAtAnyDepth) {
    testsupport::TempMachine m;
    m.makeDir("C:\\bare");
    m.makeDir("C:\\tree\\a\\b");
    m.makeDir("C:\\tree\\.hidden");
    m.writeFile("C:\\zeros\\deep\\e.txt"); // a zero-byte file is a file
    m.writeFile("C:\\f.txt");
    m.makeDir("C:\\links");
    addLinksOut(m, "C:\\links"); // links are content, never entered
    fs::create_directory_symlink(m.native("C:\\bare"), m.native("C:\\tobare"));
    fs::path locked = m.makeDir("C:\\locked\\inner");
    fs::permissions(locked, fs::perms::none);
    struct Case {
        const char* folder;
        bool holdsNoFile;
    } cases[] = {
        {"C:\\bare", true},   {"C:\\tree", true},   {"C:\\tree\\", true}, {"C:\\zeros", false},
        {"C:\\links", false}, {"C:\\tobare", false}, {"C:\\f.txt", false},  {"C:\\nothing", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FolderHoldsNoFile(c.folder), c.holdsNoFile) << c.folder;
    // A folder that cannot be read may hold anything (unless the test runs with every right).
    if (::access(locked.c_str(), R_OK) != 0) {
        EXPECT_FALSE(FolderHoldsNoFile("C:\\locked"));
    }
    fs::permissions(locked, fs::perms::owner_all);
}

TEST(FolderSizeIn, UnitsTruncateToThreeDecimals) {
    testsupport::TempMachine m;
    m.writeFile("C:\\mb\\f", std::string(1572864, 'x'));
    m.writeFile("C:\\under\\f", std::string(1048575, 'x'));
    m.writeFile("C:\\kb\\f", std::string(1536, 'x'));
    struct Case {
        const char* folder;
        int unit;
        double value;
    } cases[] = {
        {"C:\\mb", 0, 1.5},       {"C:\\under", 0, 0.999}, {"C:\\kb", 1, 1.5},
        {"C:\\kb", 2, 1536},      {"C:\\kb", 7, 1536},     {"C:\\mb", 3, 0.001},
        {"C:\\under", 1, 1023.999}, {"C:\\nothing", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(FolderSizeIn(c.folder, c.unit), c.value) << c.folder << " unit " << c.unit;
}

TEST(SizeInUnit, CutsInIntegersSoHugeTotalsAreNeverRoundedUp) {
    // 100,000,000,018,219 bytes are 95,367,431.6579... MB; times 1000 in a double this
    // rounds up past the next thousandth.
    EXPECT_DOUBLE_EQ(SizeInUnit(100000000018219LL, 0), 95367431.657);
    EXPECT_DOUBLE_EQ(SizeInUnit(-1500, 1), -1.464); // toward zero
    EXPECT_DOUBLE_EQ(SizeInUnit(INT64_MAX, 1), 9007199254740991.999); // and no overflow
}

TEST(FolderSizeIn, CountsHiddenFoldersAndLargeFilesInFull) {
    testsupport::TempMachine m;
    // Hidden, read-only and dot folders are entered; a 3 GiB file counts all its bytes.
    m.writeFile("C:\\home\\.cache\\c.bin", std::string(1048576, 'c'));
    fs::path ro = m.makeDir("C:\\home\\ro");
    m.writeFile("C:\\home\\ro\\r.bin", std::string(1048576, 'r'));
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_DOUBLE_EQ(FolderSizeIn("C:\\home", 0), 2.0);
    sparse(m, "C:\\huge\\three.img", 3 * GiB);
    EXPECT_DOUBLE_EQ(FolderSizeIn("C:\\huge", 3), 3.0);
    EXPECT_DOUBLE_EQ(FolderSizeIn("C:\\huge", 0), 3072.0);
}

TEST(DeleteTree, DeletesTheWholeTreeButNothingItLinksTo) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\a.txt", "a");
    m.writeFile("C:\\t\\.hidden\\deep\\er\\b.txt", "b");
    fs::path ro = m.writeFile("C:\\t\\sub\\ro.txt", "r");
    fs::permissions(ro, fs::perms::owner_read);
    m.makeDir("C:\\t\\empty");
    addLinksOut(m, "C:\\t");
    addLinksOut(m, "C:\\t\\sub");
    EXPECT_TRUE(DeleteTree("C:\\t"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(m.native("C:\\t"))));
    EXPECT_EQ(m.readFile("C:\\outside\\keep.bin"), std::string(1000, 'k'));
    EXPECT_TRUE(fs::exists(m.drive('C')));
}

TEST(DeleteTree, FilesLinksAndWhatCannotBeDeleted) {
    testsupport::TempMachine m;
    m.writeFile("C:\\one.txt", "1");
    m.writeFile("C:\\target\\t.txt", "t");
    fs::create_directory_symlink(m.native("C:\\target"), m.native("C:\\dirlink"));
    EXPECT_TRUE(DeleteTree("C:\\one.txt"));
    EXPECT_FALSE(fs::exists(m.native("C:\\one.txt")));
    EXPECT_TRUE(DeleteTree("C:\\dirlink")); // the link goes, its target stays whole
    EXPECT_FALSE(fs::exists(fs::symlink_status(m.native("C:\\dirlink"))));
    EXPECT_EQ(m.readFile("C:\\target\\t.txt"), "t");
    EXPECT_FALSE(DeleteTree("C:\\nothing"));
    EXPECT_FALSE(DeleteTree(""));
    // A drive root is never deleted, with or without its separator.
    EXPECT_FALSE(DeleteTree("C:\\"));
    EXPECT_FALSE(DeleteTree("C:"));
    EXPECT_EQ(m.readFile("C:\\target\\t.txt"), "t");
}

TEST(DeleteTree, GoesOnPastAMountItCannotRemove) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\a\\before.txt", "x");
    m.writeFile("C:\\t\\z\\after.txt", "x");
    fs::path mnt = m.makeDir("C:\\t\\m\\vol");
    auto tmpfs = testsupport::MountStandIn::tmpfs(mnt.string());
    if (!tmpfs.ok())
        GTEST_SKIP() << testsupport::MountStandIn::lastFailure();
    m.writeFile("C:\\t\\m\\vol\\data.txt", "on the other file system");
    auto bind = testsupport::MountStandIn::bind(m.native("C:\\t").string(), m.makeDir("C:\\t\\loop").string());
    ASSERT_TRUE(bind.ok());
    EXPECT_FALSE(DeleteTree("C:\\t"));
    // Everything else went; the mounts and the folders that hold them stay, untouched.
    EXPECT_EQ(m.readFile("C:\\t\\m\\vol\\data.txt"), "on the other file system");
    EXPECT_FALSE(fs::exists(m.native("C:\\t\\a")));
    EXPECT_FALSE(fs::exists(m.native("C:\\t\\z")));
    EXPECT_TRUE(fs::exists(m.native("C:\\t\\loop")));
    // The mount point itself is not entered either.
    EXPECT_FALSE(DeleteTree("C:\\t\\m\\vol"));
    EXPECT_EQ(m.readFile("C:\\t\\m\\vol\\data.txt"), "on the other file system");
}
