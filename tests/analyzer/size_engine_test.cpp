#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "analyzer/size_engine.h"
#include "analyzer/size_pool.h"
#include "platform/platform.h"
#include "services/disk.h"
#include "support/forwarding_file_system.h"
#include "support/mount_stand_in.h"
#include "support/temp_machine.h"
#include "toolkit/control.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t MiB = 1048576;
constexpr std::int64_t GiB = std::int64_t(1) << 30;

void sparse(testsupport::TempMachine& m, const std::string& path, std::int64_t size) {
    fs::resize_file(m.writeFile(path), std::uintmax_t(size));
}

// A headless toolkit that notes the progress bar's position at every pump.
struct PumpLog : toolkit::HeadlessToolkit {
    toolkit::ProgressBar* bar = nullptr;
    std::vector<int> positions;
    void processMessages() override {
        if (bar)
            positions.push_back(bar->position());
        HeadlessToolkit::processMessages();
    }
};

// Every test starts and ends without a stop request: the flag is program-wide. The walk
// runs on this thread unless a test asks for workers.
struct SizeEngine : ::testing::Test {
    testsupport::TempMachine m{"CD"};
    PumpLog tk;
    toolkit::ProgressBar bar{nullptr, "Pb_Process"};
    int workersBefore = SizeWorkers();
    SizeEngine() {
        ClearStop();
        SetSizeWorkers(1);
    }
    ~SizeEngine() override {
        ClearStop();
        SetSizeWorkers(workersBefore);
    }
};

// The real file system, except that listing a folder named "gate" waits until the test
// opens it or a stop is requested.
struct GatedFiles : testsupport::ForwardingFileSystem {
    std::atomic<bool> open{false};
    std::atomic<bool> openedByStop{false};
    std::atomic<bool> timedOut{false};

    bool listFolder(const std::string& folder, platform::ListDetail detail,
                    const std::function<bool(const platform::DirEntry&)>& onEntry) override {
        if (folder.size() >= 4 && folder.compare(folder.size() - 4, 4, "gate") == 0) {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!open && !ScanAborted && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            openedByStop = bool(ScanAborted);
            timedOut = !open && !ScanAborted;
        }
        return real->listFolder(folder, detail, onEntry);
    }
};

} // namespace

TEST_F(SizeEngine, FolderSizeInEveryUnit) {
    m.writeFile("C:\\one\\sub\\a.bin", std::string(MiB / 2, 'a'));
    m.writeFile("C:\\one\\sub\\b.bin", std::string(MiB / 2, 'b'));
    m.writeFile("C:\\million\\m.bin", std::string(1000000, 'm'));
    sparse(m, "C:\\huge\\five.img", 5 * GiB);
    struct Case {
        const char* path;
        int unit;
        double value;
    } cases[] = {
        {"C:\\one", suMegabytes, 1.0},          // all of it one level down
        {"C:\\one", suBytes, 1048576},
        {"C:\\one\\", suKilobytes, 1024},
        {"C:\\million", suMegabytes, 0.953},     // 953.67 cut to 953 thousandths
        {"C:\\million", suKilobytes, 976.562},
        {"C:\\million", suGigabytes, 0.0},
        {"C:\\million", suBytes, 1000000},
        {"C:\\million", 9, 1000000},             // unknown codes give bytes
        {"C:\\huge", suGigabytes, 5.0},          // all 64 bits of a large file
        {"C:\\huge", suMegabytes, 5120.0},
        {"C:\\nothing", suMegabytes, 0.0},
        {"C:\\nothing", suBytes, 0.0},
        {"C:\\million\\m.bin", suBytes, 0.0},    // a file is no folder
        {"Q:\\", suBytes, 0.0},                  // nor is an unmapped drive
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(FolderSize(c.path, c.unit), c.value) << c.path << " unit " << c.unit;
}

TEST_F(SizeEngine, EntersEveryFolderButNoLinkOrMount) {
    // Dot, hidden and read-only folders at any depth count like any other.
    m.writeFile("C:\\t\\own.bin", std::string(1, 'x'));
    m.writeFile("C:\\t\\sub\\.git\\objects\\o.bin", std::string(10, 'o'));
    m.writeFile("C:\\t\\.cache\\c.bin", std::string(100, 'c'));
    fs::path ro = m.writeFile("C:\\t\\sub\\ro\\r.bin", std::string(2000, 'r')).parent_path();
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    // Links lead out of the tree (to its root, back up, beside it) and are never entered.
    m.writeFile("C:\\outside\\keep.bin", std::string(10000, 'k'));
    fs::path t = m.native("C:\\t");
    fs::create_directory_symlink("/", t / "root");
    fs::create_directory_symlink("..", t / "sub" / "up");
    fs::create_directory_symlink(m.native("C:\\outside"), t / "beside");
    fs::create_symlink(m.native("C:\\outside\\keep.bin"), t / "file-link");
    EXPECT_EQ(FolderSize("C:\\t", suBytes), 2111.0);
    EXPECT_EQ(FolderSize("C:\\t\\beside", suBytes), 0.0); // not even when named
    // A scan lists the link to a folder with 0 and a link to a file not at all.
    auto entries = ScanFolderSpace("C:\\t");
    std::vector<TSpaceEntry> want = {{".cache", 0.0}, {"beside", 0.0}, {"root", 0.0}, {"sub", 0.001}};
    EXPECT_EQ(entries, want);
    EXPECT_TRUE(ScanFolderSpace("C:\\t\\beside").empty());
}

TEST_F(SizeEngine, MountPointsAreNotEntered) {
    m.writeFile("C:\\t\\own.bin", "123");
    fs::path mnt = m.makeDir("C:\\t\\mnt");
    auto tmpfs = testsupport::MountStandIn::tmpfs(mnt.string());
    if (!tmpfs.ok())
        GTEST_SKIP() << testsupport::MountStandIn::lastFailure();
    m.writeFile("C:\\t\\mnt\\other.bin", std::string(2 * MiB, 'o'));
    auto bind = testsupport::MountStandIn::bind(m.native("C:\\t").string(), m.makeDir("C:\\t\\again").string());
    ASSERT_TRUE(bind.ok());
    EXPECT_EQ(FolderSize("C:\\t", suBytes), 3.0);
    std::vector<TSpaceEntry> want = {{"again", 0.0}, {"mnt", 0.0}};
    EXPECT_EQ(ScanFolderSpace("C:\\t"), want);
    EXPECT_EQ(ScanFolderSpaceWhole("C:\\t\\"), want);
}

TEST_F(SizeEngine, BothScansListFoldersAndLargerFilesInListingOrder) {
    m.writeFile("D:\\data\\a100", std::string(100, '1'));
    m.writeFile("D:\\data\\b1024", std::string(1024, '2'));
    m.writeFile("D:\\data\\c1025", std::string(1025, '3'));
    m.writeFile("D:\\data\\d3m", std::string(3 * MiB, '4'));
    m.writeFile("D:\\data\\e.hidden\\x.bin", std::string(MiB + MiB / 2, 'h'));
    m.writeFile("D:\\data\\e.hidden\\.deeper\\y.bin", std::string(MiB / 2, 'y'));
    sparse(m, "D:\\data\\f5g", 5 * GiB);
    m.writeFile("D:\\files\\a100", std::string(100, '1'));
    m.writeFile("D:\\files\\c1025", std::string(1025, '3'));
    m.writeFile("D:\\files\\d3m", std::string(3 * MiB, '4'));
    m.writeFile("D:\\dataset\\z.bin", std::string(10, 'z')); // begins like "data"
    std::vector<TSpaceEntry> files = {{"c1025", 0.0}, {"d3m", 3.0}};
    std::vector<TSpaceEntry> data = {{"c1025", 0.0}, {"d3m", 3.0}, {"e.hidden", 2.0}, {"f5g", 5120.0}};
    for (const char* folder : {"D:\\files", "D:\\files\\"}) {
        EXPECT_EQ(ScanFolderSpace(folder), files) << folder;
        EXPECT_EQ(ScanFolderSpaceWhole(folder), files) << folder;
    }
    for (const char* folder : {"D:\\data", "D:\\data\\"}) {
        EXPECT_EQ(ScanFolderSpace(folder), data) << folder;
        EXPECT_EQ(ScanFolderSpaceWhole(folder), data) << folder;
    }
    // Three decimals against whole megabytes, cut toward zero.
    m.writeFile("D:\\data\\e.hidden\\more.bin", std::string(MiB / 4, 'm'));
    EXPECT_EQ(ScanFolderSpace("D:\\data")[2], (TSpaceEntry{"e.hidden", 2.25}));
    EXPECT_EQ(ScanFolderSpaceWhole("D:\\data\\")[2], (TSpaceEntry{"e.hidden", 2.0}));
    // Each entry reaches the sink as it is measured, in the same order.
    std::vector<TSpaceEntry> seen;
    auto all = ScanFolderSpace("D:\\data", nullptr, [&](const TSpaceEntry& e) { seen.push_back(e); });
    EXPECT_EQ(seen, all);
    EXPECT_TRUE(ScanFolderSpace("D:\\nothing").empty());
    EXPECT_TRUE(ScanFolderSpaceWhole("D:\\data\\d3m").empty());
}

TEST_F(SizeEngine, OnePumpPerFolderVisitedAndTicksWhereTheScansPutThem) {
    // Listed as ".", "..", "a", "b", "f1", "f2", "link"; "a" holds two files, "b" nothing.
    m.writeFile("C:\\p\\a\\x", "x");
    m.writeFile("C:\\p\\a\\y", std::string(2000, 'y'));
    m.makeDir("C:\\p\\b");
    m.writeFile("C:\\p\\f1", std::string(100, '1'));
    m.writeFile("C:\\p\\f2", std::string(2000, '2'));
    fs::create_directory_symlink(m.native("C:\\p\\a"), m.native("C:\\p\\link"));
    tk.bar = &bar;
    struct Case {
        bool whole;
        int start;
        std::vector<int> atPumps; // the bar's position as each folder's walk begins
        int end;
    } cases[] = {
        // Folders tick only inside ("." and ".." too: a 4, b 2); each file once.
        {false, 0, {0, 4}, 8},
        // Every entry ticks once more at the top; the bar wraps from 99 to 0.
        {true, 0, {2, 7}, 13},
        {true, 90, {92, 97}, 3},
    };
    for (const auto& c : cases) {
        bar.setPosition(c.start);
        tk.positions.clear();
        tk.processMessagesCalls = 0;
        if (c.whole)
            ScanFolderSpaceWhole("C:\\p\\", &bar);
        else
            ScanFolderSpace("C:\\p", &bar);
        EXPECT_EQ(tk.positions, c.atPumps) << c.whole << " from " << c.start;
        EXPECT_EQ(bar.position(), c.end) << c.whole << " from " << c.start;
    }
    // FolderSize pumps once for the folder itself, once per folder below, none per file.
    tk.processMessagesCalls = 0;
    bar.setPosition(0);
    EXPECT_EQ(FolderSize("C:\\p", suBytes, &bar), 1 + 2000 + 100 + 2000);
    EXPECT_EQ(tk.processMessagesCalls, 3);
    EXPECT_EQ(bar.position(), 7 + 4 + 2);
}

TEST_F(SizeEngine, StopGivesZeroForFoldersNotYetMeasuredUntilCleared) {
    m.writeFile("C:\\s\\a\\deep\\d.bin", std::string(3, 'd'));
    m.writeFile("C:\\s\\a\\f.bin", std::string(5, 'f'));
    m.writeFile("C:\\s\\b\\b.bin", std::string(2 * MiB, 'b'));
    m.writeFile("C:\\s\\top.bin", std::string(3 * MiB, 't'));
    // ESC arrives at the third pump, as "a\deep" begins: it and "b" count 0; the files of
    // "s" and "a" are already being listed and keep their bytes.
    tk.queue(RequestStop, 2);
    EXPECT_EQ(FolderSize("C:\\s", suBytes), 3 * MiB + 5);
    EXPECT_TRUE(ScanAborted);
    // Every later scan shows 0 for folders and real values for files...
    std::vector<TSpaceEntry> stopped = {{"a", 0.0}, {"b", 0.0}, {"top.bin", 3.0}};
    EXPECT_EQ(ScanFolderSpace("C:\\s"), stopped);
    EXPECT_EQ(ScanFolderSpaceWhole("C:\\s\\"), stopped);
    EXPECT_EQ(FolderSize("C:\\s", suBytes), 0.0);
    // ...until the stop is cleared.
    ClearStop();
    std::vector<TSpaceEntry> real = {{"a", 0.0}, {"b", 2.0}, {"top.bin", 3.0}};
    EXPECT_EQ(ScanFolderSpace("C:\\s"), real);
    // ESC at the first folder of a scan: every folder 0, files real.
    tk.queue(RequestStop);
    EXPECT_EQ(ScanFolderSpaceWhole("C:\\s\\"), stopped);
}

TEST_F(SizeEngine, DriveSpaceOfEveryDriveInTableOrder) {
    TDisk table;
    ASSERT_EQ(table.Count, 2);
    std::int64_t total = 0, freeBytes = 0;
    ASSERT_TRUE(platform::files().diskFreeSpace("C:\\", total, freeBytes));
    auto rows = DriveSpaceFigures(table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Root, "C:\\");
    EXPECT_EQ(rows[1].Root, "D:\\");
    EXPECT_EQ(rows[0].TotalMB, total / MiB);
    EXPECT_GT(rows[0].TotalMB, 0);
    EXPECT_LE(rows[0].FreeMB, rows[0].TotalMB);
    // A drive whose medium is gone since the table was built says nothing: 0 and 0.
    fs::remove_all(m.drive('D'));
    EXPECT_EQ(DriveSpaceFigures(table)[1], (TDriveSpace{"D:\\", 0, 0}));
}

TEST_F(SizeEngine, WorkersGiveTheSameSizesTicksAndEntriesAsOneThread) {
    // A tree of some breadth and depth with every kind of entry the walk meets.
    unsigned seed = 2008;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000; };
    std::vector<std::string> folders = {"C:\\w"};
    for (int i = 0; i < 120; ++i) {
        std::string parent = folders[next() % folders.size()];
        std::string name = (next() % 7 == 0 ? "." : "") + std::string("d") + std::to_string(i);
        folders.push_back(parent + "\\" + name);
        m.makeDir(folders.back());
        for (unsigned f = next() % 6; f > 0; --f)
            m.writeFile(folders.back() + "\\f" + std::to_string(f), std::string(next() * 37, 'x'));
    }
    m.writeFile("C:\\w\\top.bin", std::string(3 * MiB, 't'));
    sparse(m, folders[5] + "\\big.img", 5 * GiB);
    fs::create_directory_symlink(m.native("C:\\w"), m.native(folders[9] + "\\loop"));
    fs::create_symlink(m.native("C:\\w\\top.bin"), m.native(folders[3] + "\\top.lnk"));

    struct Result {
        double bytes, megabytes;
        std::vector<TSpaceEntry> scan, whole;
        int position;
        bool operator==(const Result&) const = default;
    };
    auto measure = [&] {
        Result r;
        bar.setPosition(0);
        r.bytes = FolderSize("C:\\w", suBytes, &bar);
        r.megabytes = FolderSize("C:\\w", suMegabytes, &bar);
        r.scan = ScanFolderSpace("C:\\w", &bar);
        r.whole = ScanFolderSpaceWhole("C:\\w\\", &bar);
        r.position = bar.position();
        return r;
    };
    Result one = measure();
    EXPECT_GT(one.bytes, 5.0 * GiB);
    EXPECT_GE(one.scan.size(), 4u);
    for (int workers : {2, 4}) {
        SetSizeWorkers(workers);
        EXPECT_EQ(SizeWorkers(), workers);
        EXPECT_TRUE(measure() == one) << workers << " workers";
    }
}

TEST_F(SizeEngine, WorkersKeepPumpingSoEscStopsTheWalk) {
    SetSizeWorkers(2);
    m.writeFile("C:\\g\\top.bin", std::string(100, 't'));
    m.writeFile("C:\\g\\gate\\g.bin", std::string(1000, 'g'));
    m.writeFile("C:\\g\\gate\\sub\\s.bin", std::string(5000, 's'));
    GatedFiles gated;
    // The first pump is FolderSize's own; ESC comes with a pump made while the workers
    // wait at the gate. The gated folder is being listed and keeps its bytes; its
    // subfolder is not begun and counts 0.
    tk.queue(RequestStop, 1);
    EXPECT_EQ(FolderSize("C:\\g", suBytes, &bar), 1100.0);
    EXPECT_TRUE(gated.openedByStop);
    EXPECT_FALSE(gated.timedOut);
    EXPECT_EQ(bar.position(), 4 + 4); // the entries of "g" and of "gate", dots included
    EXPECT_EQ(ScanFolderSpace("C:\\g"), (std::vector<TSpaceEntry>{{"gate", 0.0}}));
    ClearStop();
    gated.open = true;
    EXPECT_EQ(FolderSize("C:\\g", suBytes), 6100.0);
}

TEST_F(SizeEngine, AHandlerMaySizeAnotherFolderWhileWorkersWait) {
    SetSizeWorkers(2);
    m.writeFile("C:\\g\\gate\\g.bin", std::string(1000, 'g'));
    m.writeFile("C:\\other\\a\\b\\o.bin", std::string(70, 'o'));
    GatedFiles gated;
    double inner = -1;
    // One worker waits at the gate; the other sizes the handler's folder. The handler
    // also changes the number of workers, which waits until the walks are over.
    tk.queue([&] {
        SetSizeWorkers(3);
        inner = FolderSize("C:\\other", suBytes);
        gated.open = true;
    }, 1);
    EXPECT_EQ(FolderSize("C:\\g", suBytes), 1000.0);
    EXPECT_EQ(inner, 70.0);
    EXPECT_FALSE(gated.timedOut);
    EXPECT_EQ(SizeWorkers(), 3);
    EXPECT_EQ(FolderSize("C:\\other", suBytes), 70.0);
}

namespace {

// The real file system, slowed to a millisecond per folder, counting the listings that
// are under way and those begun.
struct CountedFiles : testsupport::ForwardingFileSystem {
    std::atomic<int> inFlight{0};
    std::atomic<int> begun{0};

    bool listFolder(const std::string& folder, platform::ListDetail detail,
                    const std::function<bool(const platform::DirEntry&)>& onEntry) override {
        ++inFlight;
        ++begun;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        bool ok = real->listFolder(folder, detail, onEntry);
        --inFlight;
        return ok;
    }
};

} // namespace

// A message handler that throws while the workers size a tree: the exception reaches the
// caller only when no worker lists anything of that walk any more, nothing of it starts
// later, and the same pool then sizes the tree right.
TEST_F(SizeEngine, AThrowFromTheSliceStopsTheWalkBeforeItGoesOn) {
    std::int64_t expected = 0;
    for (int a = 0; a < 12; ++a)
        for (int b = 0; b < 12; ++b) {
            std::string file = "C:\\t\\a" + std::to_string(a) + "\\b" + std::to_string(b) + "\\f";
            m.writeFile(file, std::string(std::size_t(a * 12 + b + 1), 'x'));
            expected += a * 12 + b + 1;
        }
    CountedFiles counted;
    for (int workers : {1, 2, 4}) {
        SizePool pool(workers);
        int calls = 0;
        bool caught = false;
        const int before = counted.begun;
        try {
            pool.folderBytes(m.native("C:\\t").string(), [&](std::uint64_t, bool done) {
                if (!done && ++calls == 3)
                    throw std::runtime_error("from a handler");
            });
        } catch (const std::runtime_error& e) {
            caught = std::string(e.what()) == "from a handler";
            EXPECT_EQ(counted.inFlight, 0) << workers << " workers";
        }
        ASSERT_TRUE(caught) << workers << " workers";
        int begun = counted.begun;
        EXPECT_LT(begun - before, 1 + 12 + 144) << workers << " workers: the walk was not stopped";
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(counted.begun, begun) << workers << " workers";
        std::uint64_t entries = 0;
        EXPECT_EQ(pool.folderBytes(m.native("C:\\t").string(), [&](std::uint64_t n, bool) { entries += n; }),
                  expected)
            << workers << " workers";
        // Every folder's dots and entries: 1 + 12 + 144 folders, 144 files.
        EXPECT_EQ(entries, std::uint64_t(2 * (1 + 12 + 144) + 12 + 144 + 144)) << workers << " workers";
    }
}

namespace {

// The real file system, except that listing a folder named "gate" waits (20 s at most)
// until a folder named "later" has been listed.
struct GateOpenedByLater : testsupport::ForwardingFileSystem {
    std::atomic<bool> laterListed{false};
    std::atomic<bool> timedOut{false};

    static bool endsWith(const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }
    bool listFolder(const std::string& folder, platform::ListDetail detail,
                    const std::function<bool(const platform::DirEntry&)>& onEntry) override {
        if (endsWith(folder, "gate")) {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!laterListed && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            timedOut = !laterListed;
        }
        bool ok = real->listFolder(folder, detail, onEntry);
        if (endsWith(folder, "later"))
            laterListed = true;
        return ok;
    }
};

} // namespace

// The subfolders of a scan are one walk on the workers: while one worker is held up deep
// in the first subfolder, another sizes the next. The entries still come out, to the sink
// too, in listing order.
TEST_F(SizeEngine, WorkersSizeTheSubfoldersOfAScanInOneWalk) {
    SetSizeWorkers(2);
    m.writeFile("C:\\p\\a\\gate\\g.bin", std::string(3 * MiB, 'g'));
    m.writeFile("C:\\p\\later\\l.bin", std::string(2 * MiB, 'l'));
    m.writeFile("C:\\p\\z.bin", std::string(MiB, 'z'));
    GateOpenedByLater gated;
    std::vector<TSpaceEntry> sunk;
    auto scanned = ScanFolderSpace("C:\\p", &bar, [&](const TSpaceEntry& e) { sunk.push_back(e); });
    EXPECT_FALSE(gated.timedOut) << "the next subfolder waited for the first";
    std::vector<TSpaceEntry> expected = {{"a", 3.0}, {"later", 2.0}, {"z.bin", 1.0}};
    EXPECT_EQ(scanned, expected);
    EXPECT_EQ(sunk, expected);
}

// Sizes by folder from one pooled walk: each reported once, with the same figure that is
// returned, and a throw from the report stops the walk as one from the slice does.
TEST_F(SizeEngine, OnePooledWalkReportsEachFolderOnce) {
    std::vector<std::string> roots;
    std::vector<std::int64_t> expected;
    for (int a = 0; a < 6; ++a) {
        roots.push_back(m.native("C:\\r\\a" + std::to_string(a)).string());
        std::int64_t sum = 0;
        for (int b = 0; b < 5; ++b) {
            std::size_t n = std::size_t(a * 100 + b + 1);
            m.writeFile("C:\\r\\a" + std::to_string(a) + "\\b" + std::to_string(b) + "\\f", std::string(n, 'x'));
            sum += std::int64_t(n);
        }
        expected.push_back(sum);
    }
    for (int workers : {1, 2, 4}) {
        SizePool pool(workers);
        std::vector<int> reports(roots.size(), 0);
        std::vector<std::int64_t> reported(roots.size(), -1);
        auto bytes = pool.folderBytes(roots, {}, [&](std::size_t k, std::int64_t b) {
            ++reports.at(k);
            reported.at(k) = b;
        });
        EXPECT_EQ(bytes, expected) << workers << " workers";
        EXPECT_EQ(reported, expected) << workers << " workers";
        EXPECT_EQ(reports, std::vector<int>(roots.size(), 1)) << workers << " workers";

        bool caught = false;
        try {
            pool.folderBytes(roots, {}, [&](std::size_t, std::int64_t) { throw std::runtime_error("from a handler"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
        EXPECT_TRUE(caught) << workers << " workers";
        EXPECT_EQ(pool.folderBytes(roots, {}, {}), expected) << workers << " workers";
        EXPECT_TRUE(pool.folderBytes(std::vector<std::string>{}, {}, {}).empty());
    }
}
