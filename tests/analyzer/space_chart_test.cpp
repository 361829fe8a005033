#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analyzer/space_chart.h"
#include "services/disk.h"
#include "support/temp_machine.h"
#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;
using toolkit::PieSlice;

namespace {

constexpr std::int64_t MiB = 1048576;

// The chart area's controls on a form of their own.
struct ChartForm : toolkit::Form {
    ChartForm()
        : Form("TChartForm"), pDirInfo(this, "pDirInfo"), PChart(this, "PChart"), Chart_Dir(this, "Chart_Dir"),
          Series1(Chart_Dir, "Series1"), Chart_Disk(this, "Chart_Disk"), Series4(Chart_Disk, "Series4"),
          Series3(Chart_Disk, "Series3"), L_Dir(this, "L_Dir"), Pb_Process(this, "Pb_Process"),
          Sp_Slice(this, "Sp_Slice"),
          area({pDirInfo, PChart, Chart_Dir, Series1, Chart_Disk, Series4, Series3, L_Dir, Pb_Process, Sp_Slice}) {}
    toolkit::Panel pDirInfo, PChart;
    toolkit::Chart Chart_Dir;
    toolkit::PieSeries Series1;
    toolkit::Chart Chart_Disk;
    toolkit::BarSeries Series4, Series3;
    toolkit::Label L_Dir;
    toolkit::ProgressBar Pb_Process;
    toolkit::SpinEdit Sp_Slice;
    ChartArea area;
};

// Counts the pumps, and runs a test's action at one of them.
struct Pumps : toolkit::HeadlessToolkit {
    int pumps = 0;
    std::function<void()> atPump;
    void processMessages() override {
        ++pumps;
        if (atPump)
            atPump();
        HeadlessToolkit::processMessages();
    }
};

struct Charts : ::testing::Test {
    testsupport::TempMachine m{"CD"};
    Pumps tk;
    ChartForm f;
    Charts() { ClearStop(); }
    ~Charts() override { ClearStop(); }
    void sized(const std::string& path, std::int64_t bytes) { fs::resize_file(m.writeFile(path), std::uintmax_t(bytes)); }
    // Subfolders of 50, 30, 10 and 10 MB.
    void fourFolders() {
        sized("C:\\data\\a\\f", 50 * MiB);
        sized("C:\\data\\b\\f", 30 * MiB);
        sized("C:\\data\\c\\f", 10 * MiB);
        sized("C:\\data\\d\\f", 10 * MiB);
    }
    std::vector<std::string> rowTexts() {
        std::vector<std::string> out;
        for (const SliceListRow& r : SliceListRows(f.Series1))
            out.push_back(r.text);
        return out;
    }
};

struct Recording : toolkit::Canvas {
    std::vector<std::string> log;
    void fillRect(const toolkit::Rect& r, std::uint32_t color) override {
        log.push_back("rect " + std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) +
                      "x" + std::to_string(r.height) + " #" + std::to_string(color));
    }
    void textOut(int x, int y, const std::string& text, const toolkit::CanvasFont& font) override {
        log.push_back("text " + std::to_string(x) + "," + std::to_string(y) + " " + text + " " + font.name + " " +
                      std::to_string(font.pointSize));
    }
};

} // namespace

TEST_F(Charts, SmallFoldersGatherIntoOtherAndTheListShowsWhatThePieDraws) {
    fourFolders();
    EXPECT_EQ(f.Sp_Slice.value(), 14);
    f.area.ShowFolderPie("C:\\data");
    EXPECT_EQ(f.L_Dir.caption(), "C:\\data\\");
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"[a] :  50.00M", "[b] :  30.00M", "[Other] :  20.00M"}));
    auto slices = f.Series1.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[2].share, 20);

    // Threshold 10: the same slices regroup, all four drawn, no "Other".
    f.Sp_Slice.setValue(10);
    f.area.Sp_SliceChange();
    EXPECT_EQ(rowTexts(),
              (std::vector<std::string>{"[a] :  50.00M", "[b] :  30.00M", "[c] :  10.00M", "[d] :  10.00M"}));
    EXPECT_EQ(f.area.builds(), 1);

    // The group is listed even when its own share is below the threshold.
    f.Sp_Slice.setValue(40);
    f.area.Sp_SliceChange();
    EXPECT_EQ(rowTexts(), (std::vector<std::string>{"[a] :  50.00M", "[Other] :  50.00M"}));
}

TEST_F(Charts, TheSliceListPaintsASquareAndATextPerRow) {
    f.Series1.groupByPercent = false;
    f.Series1.add(3.14159, "x");
    f.Series1.add(1, "y");
    Recording canvas;
    PaintSliceList(SliceListRows(f.Series1, {',', '.'}), canvas);
    EXPECT_EQ(canvas.log, (std::vector<std::string>{
                              "rect 10,0 10x10 #" + std::to_string(toolkit::ChartPaletteColor(0)),
                              "text 25,-1 [x] :  3,14M Franklin Gothic Medium Cond 8",
                              "rect 10,12 10x10 #" + std::to_string(toolkit::ChartPaletteColor(1)),
                              "text 25,11 [y] :  1,00M Franklin Gothic Medium Cond 8",
                          }));
}

TEST(SliceTexts, DetailsAndPercentTextsByteForByte) {
    EXPECT_EQ(SliceDetailsText({12.5, "Music", 0, 0, 12.5}, 100),
              "Detail Information: Music\r\n\r\n-------------------------------\r\nSize   : 12.5 MByte\r\n"
              "Percent: 12.5 % of 100 MByte\r\n-------------------------------");
    EXPECT_EQ(SliceNoteText({12.5, "a.iso", 0, 0, 12.5}, 100), "a.iso\r\n12.5 % of 100M");
    struct Case {
        double share, total;
        NumberSeparators sep;
        const char* text;
    } cases[] = {
        {12.5, 1234.567, {}, "12.5 % of 1,234.567"},
        {100.0 / 3, 100, {}, "33.33 % of 100"},
        {20, 0.1 + 0.2, {}, "20 % of 0.3"},
        {0.004, 1234567.12345, {}, "0 % of 1,234,567.123"},
        {99.999, 999.9996, {}, "100 % of 1,000"},
        {12.5, 1234.5, {',', '.'}, "12,5 % of 1.234,5"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PercentText(c.share, c.total, c.sep), c.text) << c.text;
    // Up to 15 significant digits of the size.
    EXPECT_NE(SliceDetailsText({1.0 / 3, "t", 0, 0, 1}, 1).find("Size   : 0.333333333333333 MByte"), std::string::npos);
}

TEST_F(Charts, DoubleClicksEnterFolderSlicesOnly) {
    sized("C:\\data\\big\\f", 80 * MiB);
    sized("C:\\data\\disk.img", 15 * MiB);
    sized("C:\\data\\small\\f", 5 * MiB);
    f.area.ShowFolderPie("C:\\data\\");
    auto slices = f.Series1.slices();
    ASSERT_EQ(slices.size(), 3u); // big, disk.img, Other (order of listing: by name)
    std::vector<std::string> entered;
    for (int i = 0; i < 4; ++i)
        entered.push_back(f.area.pie().folderOfSlice(i));
    EXPECT_EQ(entered, (std::vector<std::string>{"C:\\data\\big\\", "", "", ""}));
    EXPECT_EQ(slices[2].label, "Other");
}

TEST_F(Charts, EscStopsTheRunningBuildAndTheNextBuildMeasuresAgain) {
    for (const char* d : {"a", "b", "c"})
        sized(std::string("C:\\data\\") + d + "\\f", 2 * MiB);
    sized("C:\\data\\file.bin", 3 * MiB);
    const int workersBefore = SizeWorkers();
    struct Case {
        int workers;
        bool escAfterFirstSlice; // else at the build's first pump, before the walk begins
        std::vector<double> stopped;
    } cases[] = {
        // On this thread the folders are sized one after the other: the first keeps its size.
        {1, true, {2, 0, 0, 3}},
        // On the workers they are one walk: a stop before it begins leaves every folder 0.
        {2, false, {0, 0, 0, 3}},
    };
    for (const Case& c : cases) {
        SetSizeWorkers(c.workers);
        const int pumpsBefore = tk.pumps;
        tk.atPump = [&] {
            if (c.escAfterFirstSlice ? f.Series1.count() == 1 : tk.pumps == pumpsBefore + 1)
                RequestStop();
        };
        f.area.ShowFolderPie("C:\\data");
        std::vector<double> values;
        for (const auto& p : f.Series1.points())
            values.push_back(p.value);
        EXPECT_EQ(values, c.stopped) << c.workers << " workers"; // the file keeps its size
        tk.atPump = nullptr;
        // Refresh after the stop: real sizes again, without opening a list entry first.
        f.area.RedrawFolderChart(TDisk());
        values.clear();
        for (const auto& p : f.Series1.points())
            values.push_back(p.value);
        EXPECT_EQ(values, (std::vector<double>{2, 2, 2, 3})) << c.workers << " workers";
    }
    SetSizeWorkers(workersBefore);
}

TEST_F(Charts, ACollapsedAreaScansNothingAndAnalyzeStillBuilds) {
    fourFolders();
    TDisk table;
    f.area.toggleCollapsed();
    EXPECT_FALSE(f.PChart.visible());
    int pumpsBefore = tk.pumps;
    f.L_Dir.setCaption("C:\\data\\");
    f.area.RedrawFolderChart(table);
    f.area.ShowFolderPie("C:\\data");
    f.area.ShowDriveBars(table);
    EXPECT_EQ(f.area.builds(), 0);
    EXPECT_EQ(tk.pumps, pumpsBefore);
    EXPECT_EQ(f.Series1.count(), 0);
    EXPECT_EQ(f.Series4.count(), 0);
    // "Analy&ze Directory" looks at no collapsed state and keeps the chart shown.
    f.area.AnalyzeFolderPie("C:\\data\\");
    EXPECT_EQ(f.Series1.count(), 4);
    f.area.toggleCollapsed();
    EXPECT_TRUE(f.PChart.visible());
}

TEST_F(Charts, TheDriveChartShowsSizeAndFreeSpaceOfEachDrive) {
    FillDriveBars(f.Series4, f.Series3, {{"C:\\", 10000, 40000}, {"D:\\", 0, 0}});
    ASSERT_EQ(f.Series4.count(), 2);
    EXPECT_EQ(f.Series4.points()[0], (toolkit::ChartPoint{40000, "C:\\"}));
    EXPECT_EQ(f.Series3.points()[0], (toolkit::ChartPoint{10000, "C:\\"}));
    EXPECT_EQ(f.Series4.points()[1].label, "D:\\");

    TDisk table;
    EXPECT_EQ(DriveOfBar("c:\\", table), "C:\\");
    EXPECT_EQ(DriveOfBar("D:\\", table), "D:\\");
    EXPECT_EQ(DriveOfBar("E:\\", table), "");

    // At "My Computer" (or with no folder) the redraw shows the bars, the pie hidden.
    f.L_Dir.setCaption("My Computer");
    f.area.RedrawFolderChart(table);
    EXPECT_TRUE(f.Chart_Disk.visible());
    EXPECT_FALSE(f.Chart_Dir.visible());
    EXPECT_EQ(f.Series4.count(), 2);
    EXPECT_EQ(tk.cursor(), toolkit::Cursor::Default);
    // A bar's drive shows its root's pie.
    f.area.ShowFolderPie(DriveOfBar(f.Series4.points()[0].label, table));
    EXPECT_TRUE(f.Chart_Dir.visible());
    EXPECT_FALSE(f.Chart_Disk.visible());
    EXPECT_EQ(f.L_Dir.caption(), "C:\\");
}
