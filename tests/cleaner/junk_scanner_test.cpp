#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "analyzer/size_engine.h"
#include "cleaner/junk_scanner.h"
#include "support/temp_machine.h"

namespace {

// The scanner without a window: a sink that keeps the rows in a plain list.
struct RecordingSink : JunkScanSink {
    std::vector<TJunkRow> rows;
    std::vector<std::string> folders;
    std::function<void()> onPump;

    Place NextPlace() const override { return {rows.size(), 0}; }
    void AddFound(TJunkRow row) override { rows.push_back(std::move(row)); }
    void AddEmptyFolder(TJunkRow row, Place place) override {
        rows.insert(rows.begin() + std::ptrdiff_t(place.index), std::move(row));
    }
    void EnteredFolder(const std::string& folder) override { folders.push_back(folder); }
    void CountsChanged() override {}
    void ScannedFile(std::string_view) override {}
    void Pump(bool) override {
        if (onPump)
            onPump();
    }
};

std::vector<std::string> captions(const std::vector<TJunkRow>& rows) {
    std::vector<std::string> out;
    for (const TJunkRow& r : rows)
        out.push_back(r.caption);
    return out;
}

} // namespace

TEST(JunkScanner, HandsItsFindingsToTheSinkAndStopsWhenTheFlagIsCleared) {
    testsupport::TempMachine m;
    m.writeFile("C:\\WINDOWS\\Temp\\a.tmp", "abc");
    m.makeDir("C:\\WINDOWS\\Temp\\empty\\deeper");
    m.writeFile("C:\\WINDOWS\\zero.txt");
    TJunkScanner::Plan plan;
    plan.keys = {".TMP"};
    plan.zeroFiles = plan.emptyFolders = true;

    RecordingSink sink;
    TJunkScanner scanner(sink);
    scanner.Running = true;
    scanner.Scan("C:\\WINDOWS", plan, true);
    // An empty folder's row goes where its walk began, before anything found inside it.
    EXPECT_EQ(captions(sink.rows), (std::vector<std::string>{"C:\\WINDOWS\\Temp\\a.tmp", "C:\\WINDOWS\\Temp\\empty<Dir>",
                                                             "C:\\WINDOWS\\Temp\\empty\\deeper<Dir>",
                                                             "C:\\WINDOWS\\zero.txt"}));
    EXPECT_EQ(sink.folders.front(), "C:\\WINDOWS\\");
    EXPECT_EQ(scanner.ScanCount, 5); // Temp, a.tmp, empty, deeper, zero.txt
    EXPECT_EQ(scanner.JunkCount, 3); // the pattern's file and the two empty folders
    EXPECT_EQ(scanner.JunkSize, 3);

    // A stop pressed while the window processes its messages ends the walk at the next entry.
    RecordingSink stopped;
    TJunkScanner second(stopped);
    second.Running = true;
    stopped.onPump = [&] { second.Running = false; };
    second.Scan("C:\\WINDOWS", plan, true);
    EXPECT_TRUE(stopped.rows.empty());
    EXPECT_EQ(second.ScanCount, 0);
}

namespace {

// A tree of nested folders under C:\WINDOWS and C:\DATA with junk names, zero-byte
// files, empty folders (some only holding empty folders), links and a large folder, so
// that the workers have many folders to list ahead of the scan.
void makeTree(testsupport::TempMachine& m) {
    std::mt19937 rng(20081101);
    const char* names[] = {"a.tmp", "B.TMP", "c.txt", "d.bak", "~e.doc", "f.log", "g.dat", "x.tmp.old"};
    std::vector<std::string> folders = {"C:\\WINDOWS", "C:\\DATA"};
    for (int i = 0; i < 160; ++i) {
        std::string parent = folders[rng() % folders.size()];
        std::string folder = parent + "\\" + (rng() % 5 == 0 ? "Settings" : "d") + std::to_string(i);
        folders.push_back(folder);
        m.makeDir(folder);
        if (rng() % 9 == 0)
            continue; // empty, or holding only empty folders
        for (unsigned f = 0, n = rng() % 12; f < n; ++f)
            m.writeFile(folder + "\\" + std::to_string(f) + names[rng() % 8], std::string(rng() % 3 ? rng() % 40 : 0, 'x'));
    }
    for (int f = 0; f < 600; ++f)
        m.writeFile("C:\\WINDOWS\\big\\" + std::to_string(f) + names[f % 8], std::string(f % 4, 'x'));
    std::filesystem::create_directory_symlink(m.native("C:\\DATA"), m.native("C:\\WINDOWS\\d0_link"));
    std::filesystem::create_symlink(m.native("C:\\WINDOWS\\big\\0a.tmp"), m.native("C:\\WINDOWS\\link.tmp"));
}

struct Result {
    std::vector<TJunkRow> rows;
    std::vector<std::string> folders;
    std::int64_t scanned = 0, junk = 0, size = 0;
};

Result scanWith(int workers, const TJunkScanner::Plan& plan, std::size_t ahead) {
    SetSizeWorkers(workers);
    RecordingSink sink;
    TJunkScanner scanner(sink);
    scanner.ListedAhead = ahead;
    scanner.Running = true;
    scanner.Scan("C:\\", plan, true);
    return {sink.rows, sink.folders, scanner.ScanCount, scanner.JunkCount, scanner.JunkSize};
}

} // namespace

// The workers list folders ahead of the scan, several at once and in any order; the rows,
// their texts and the counters are still exactly what the scan finds on one thread.
TEST(JunkScanner, FindsOnTheWorkersWhatItFindsOnOneThreadRowByRow) {
    testsupport::TempMachine m;
    makeTree(m);
    const int workersBefore = SizeWorkers();
    struct Case {
        const char* label;
        bool zero;
        std::size_t ahead; // entries listed ahead at most: tiny keeps the workers waiting
    };
    for (const Case& c : {Case{"patterns only", false, 16384}, Case{"zero-byte files and empty folders", true, 16384},
                          Case{"patterns, little listed ahead", false, 8}, Case{"zero-byte, little ahead", true, 8}}) {
        TJunkScanner::Plan plan;
        plan.keys = {".TMP", "~", ".BAK"};
        plan.ignored = {"3B.TMP"};
        plan.zeroFiles = plan.emptyFolders = c.zero;
        const Result one = scanWith(1, plan, c.ahead);
        ASSERT_GT(one.rows.size(), 50u) << c.label;
        ASSERT_GT(one.folders.size(), 100u) << c.label;
        for (int workers : {1, 2, 4}) {
            const Result pooled = scanWith(workers, plan, c.ahead);
            std::string where = std::string(c.label) + ", " + std::to_string(workers) + " workers";
            ASSERT_EQ(pooled.rows.size(), one.rows.size()) << where;
            for (std::size_t i = 0; i < one.rows.size(); ++i) {
                const TJunkRow &a = one.rows[i], &b = pooled.rows[i];
                EXPECT_EQ(b.caption, a.caption) << where << ", row " << i;
                EXPECT_EQ(RowSizeText(b), RowSizeText(a)) << where << ", row " << i;
                EXPECT_EQ(b.kind, a.kind) << where << ", row " << i;
                EXPECT_EQ(RowDateText(b.created), RowDateText(a.created)) << where << ", row " << i;
                EXPECT_EQ(RowDateText(b.written), RowDateText(a.written)) << where << ", row " << i;
                EXPECT_EQ(RowDateText(b.accessed), RowDateText(a.accessed)) << where << ", row " << i;
            }
            EXPECT_EQ(pooled.folders, one.folders) << where;
            EXPECT_EQ(pooled.scanned, one.scanned) << where;
            EXPECT_EQ(pooled.junk, one.junk) << where;
            EXPECT_EQ(pooled.size, one.size) << where;
        }
    }
    SetSizeWorkers(workersBefore);
}

// A message handler that throws in the middle of a pooled scan: the exception reaches the
// caller once no worker lists anything of the scan any more, and the next scan on the
// same pool finds everything again.
TEST(JunkScanner, AThrowFromThePumpEndsAPooledScanSoundly) {
    testsupport::TempMachine m;
    makeTree(m);
    const int workersBefore = SizeWorkers();
    TJunkScanner::Plan plan;
    plan.keys = {".TMP"};
    plan.zeroFiles = plan.emptyFolders = true;
    const Result whole = scanWith(1, plan, 16384);
    for (int workers : {2, 4}) {
        SetSizeWorkers(workers);
        RecordingSink sink;
        TJunkScanner scanner(sink);
        scanner.Running = true;
        int pumps = 0;
        sink.onPump = [&] {
            if (++pumps == 40)
                throw std::runtime_error("from a handler");
        };
        EXPECT_THROW(scanner.Scan("C:\\", plan, true), std::runtime_error) << workers << " workers";
        EXPECT_LT(sink.rows.size(), whole.rows.size()) << workers << " workers";
        EXPECT_EQ(scanWith(workers, plan, 16384).rows.size(), whole.rows.size()) << workers << " workers";
    }
    SetSizeWorkers(workersBefore);
}
