#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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
