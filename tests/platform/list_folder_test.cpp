#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/platform.h"
#include "support/mount_stand_in.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

std::map<std::string, DirEntry> listAll(const std::string& folder, ListDetail detail, std::vector<std::string>* order = nullptr) {
    std::map<std::string, DirEntry> out;
    EXPECT_TRUE(files().listFolder(folder, detail, [&](const DirEntry& e) {
        out[e.name] = e;
        if (order)
            order->push_back(e.name);
        return true;
    }));
    return out;
}

} // namespace

TEST(ListFolder, AttributesOfEveryKindOfEntry) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\a.txt", "12345");
    m.writeFile("C:\\t\\.profile", "x");
    fs::path ro = m.writeFile("C:\\t\\ro.txt", "");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::group_read);
    m.makeDir("C:\\t\\Dir");
    m.makeDir("C:\\t\\.cache");
    fs::path rodir = m.makeDir("C:\\t\\rodir");
    fs::create_directory_symlink("Dir", m.native("C:\\t\\lnkdir"));
    fs::create_symlink("a.txt", m.native("C:\\t\\lnkfile"));
    fs::create_symlink("nowhere", m.native("C:\\t\\dangling"));
    fs::create_directory_symlink("/", m.native("C:\\t\\toroot"));
    ASSERT_EQ(::mkfifo(m.native("C:\\t\\pipe").c_str(), 0644), 0);
    fs::permissions(rodir, fs::perms::owner_read | fs::perms::owner_exec);

    struct Case {
        const char* name;
        std::uint32_t attributes;
        std::uint64_t size;
    } cases[] = {
        {".", FA_DIRECTORY, 0},
        {"..", FA_DIRECTORY, 0},
        {"a.txt", FA_ARCHIVE, 5},
        {".profile", FA_ARCHIVE | FA_HIDDEN, 1},
        {"ro.txt", FA_ARCHIVE | FA_READONLY, 0},
        {"Dir", FA_DIRECTORY, 0},
        {".cache", FA_DIRECTORY | FA_HIDDEN, 0},
        {"rodir", FA_DIRECTORY | FA_READONLY, 0},
        {"lnkdir", FA_REPARSE_POINT | FA_DIRECTORY, 0},
        {"toroot", FA_REPARSE_POINT | FA_DIRECTORY, 0},
        {"lnkfile", FA_REPARSE_POINT, 0},
        {"dangling", FA_REPARSE_POINT, 0},
        {"pipe", FA_SYSTEM, 0},
    };
    auto full = listAll("C:\\t", ListDetail::Full);
    auto names = listAll("C:\\t", ListDetail::Names);
    auto sizes = listAll("C:\\t", ListDetail::Sizes);
    EXPECT_EQ(full.size(), std::size(cases));
    EXPECT_EQ(names.size(), std::size(cases));
    EXPECT_EQ(sizes.size(), std::size(cases));
    for (const auto& c : cases) {
        ASSERT_TRUE(full.count(c.name)) << c.name;
        EXPECT_EQ(full[c.name].attributes, c.attributes) << c.name;
        EXPECT_EQ(full[c.name].size, c.size) << c.name;
        // A names-only listing tells folders and reparse points apart just the same.
        const std::uint32_t typeBits = FA_DIRECTORY | FA_REPARSE_POINT;
        EXPECT_EQ(names[c.name].attributes & typeBits, c.attributes & typeBits) << c.name;
        // A sizes listing adds the sizes of files.
        EXPECT_EQ(sizes[c.name].attributes & typeBits, c.attributes & typeBits) << c.name;
        EXPECT_EQ(sizes[c.name].size, c.size) << c.name;
    }
}

TEST(ListFolder, DotsFirstThenNamesWithLettersFolded) {
    testsupport::TempMachine m;
    for (const char* n : {"b", "_x", "C", "a_", "A", "B1"})
        m.writeFile(std::string("C:\\o\\") + n);
    std::vector<std::string> order;
    listAll("C:\\o", ListDetail::Names, &order);
    EXPECT_EQ(order, (std::vector<std::string>{".", "..", "A", "a_", "b", "B1", "C", "_x"}));
    // The callback stops the listing early.
    int seen = 0;
    EXPECT_TRUE(files().listFolder("C:\\o", ListDetail::Full, [&](const DirEntry&) { return ++seen < 3; }));
    EXPECT_EQ(seen, 3);
}

TEST(ListFolder, FullSizeOfASparseFileOver4GiB) {
    testsupport::TempMachine m;
    fs::path p = m.writeFile("C:\\big\\disk.img");
    const std::uint64_t size = (std::uint64_t(1) << 32) + 5;
    fs::resize_file(p, size);
    auto e = listAll("C:\\big", ListDetail::Full)["disk.img"];
    EXPECT_EQ(e.size, size);
    EXPECT_EQ(listAll("C:\\big", ListDetail::Sizes)["disk.img"].size, size);
    EXPECT_EQ(e.size32(), 5); // the low 32 bits are what the classic listing shows
    fs::resize_file(p, (std::uint64_t(1) << 31) + 1);
    e = listAll("C:\\big", ListDetail::Full)["disk.img"];
    EXPECT_LT(e.size32(), 0);
}

TEST(ListFolder, TimesAreFileTimesAndCreationIsTheBirthTime) {
    testsupport::TempMachine m;
    fs::path p = m.writeFile("C:\\t\\old.txt", "x");
    // Last write and access set to 2008-08-01 09:30:18 UTC.
    struct timespec ts[2] = {{1217583018, 0}, {1217583018, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), ts, 0), 0);
    DirEntry e;
    ASSERT_TRUE(files().findEntry("C:\\t\\old.txt", e));
    const FileTime expected = (1217583018LL + 11644473600LL) * 10000000LL;
    EXPECT_EQ(e.lastWriteTime, expected);
    EXPECT_EQ(e.lastAccessTime, expected);
    // The birth time, where the file system keeps one, is now: later than the last write.
    // Without one, the creation time is the last write.
    EXPECT_GE(e.creationTime, expected);
    auto listed = listAll("C:\\t", ListDetail::Full)["old.txt"];
    EXPECT_EQ(listed.creationTime, e.creationTime);
    EXPECT_EQ(listed.lastWriteTime, e.lastWriteTime);
}

TEST(ListFolder, MissingOrUnreadableFolderFails) {
    testsupport::TempMachine m;
    m.writeFile("C:\\f.txt", "x");
    int calls = 0;
    auto count = [&](const DirEntry&) { return ++calls, true; };
    EXPECT_FALSE(files().listFolder("C:\\nothing", ListDetail::Full, count));
    EXPECT_FALSE(files().listFolder("C:\\f.txt", ListDetail::Full, count));
    EXPECT_FALSE(files().listFolder("Q:\\", ListDetail::Full, count));
    EXPECT_EQ(calls, 0);
}

TEST(ListFolder, MountPointsAreReparsePoints) {
    testsupport::TempMachine m;
    fs::path other = m.makeDir("C:\\t\\other");
    fs::path loop = m.makeDir("C:\\t\\loop");
    auto tmpfs = testsupport::MountStandIn::tmpfs(other.string());
    if (!tmpfs.ok())
        GTEST_SKIP() << testsupport::MountStandIn::lastFailure();
    // The same file system mounted again inside itself: the device alone cannot tell.
    auto bind = testsupport::MountStandIn::bind(m.native("C:\\t").string(), loop.string());
    ASSERT_TRUE(bind.ok()) << testsupport::MountStandIn::lastFailure();
    for (ListDetail d : {ListDetail::Full, ListDetail::Sizes, ListDetail::Names}) {
        auto l = listAll("C:\\t", d);
        EXPECT_EQ(l["other"].attributes & (FA_DIRECTORY | FA_REPARSE_POINT), FA_DIRECTORY | FA_REPARSE_POINT);
        EXPECT_EQ(l["loop"].attributes & (FA_DIRECTORY | FA_REPARSE_POINT), FA_DIRECTORY | FA_REPARSE_POINT);
        EXPECT_EQ(l["."].attributes & FA_REPARSE_POINT, 0u);
    }
    // Inside a mount, its own entries are ordinary again.
    m.writeFile("C:\\t\\other\\x\\y.txt", "y");
    EXPECT_EQ(listAll("C:\\t\\other", ListDetail::Full)["x"].attributes, std::uint32_t(FA_DIRECTORY));
}

namespace {

int openDescriptors() {
    int n = 0;
    for (auto it = fs::directory_iterator("/proc/self/fd"); it != fs::directory_iterator(); ++it)
        ++n;
    return n;
}

} // namespace

TEST(ListFolder, ACallbackThatThrowsLeavesNoFolderOpen) {
    testsupport::TempMachine m;
    m.writeFile("C:\\t\\a.txt", "a");
    m.makeDir("C:\\t\\sub");
    const int before = openDescriptors();
    for (int i = 0; i < 100; ++i) {
        // Each time from another entry: the dots, a file, a folder.
        int seen = 0;
        EXPECT_THROW(files().listFolder("C:\\t", i % 2 ? ListDetail::Full : ListDetail::Names,
                                        [&](const DirEntry&) -> bool {
                                            if (seen++ == i % 4)
                                                throw std::runtime_error("stop");
                                            return true;
                                        }),
                     std::runtime_error);
    }
    EXPECT_EQ(openDescriptors(), before);
}
