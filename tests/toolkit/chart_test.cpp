#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/chart.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"
#include "toolkit/spin_edit.h"

using namespace toolkit;

namespace {

struct ChartForm : Form {
    ChartForm() : Form("TChartForm"), Chart1(this, "Chart1"), Series1(Chart1, "Series1"), Dlg(this, "Dlg"), Sp(this, "Sp") {}
    Chart Chart1;
    PieSeries Series1;
    OpenDialog Dlg;
    SpinEdit Sp;
};

std::vector<std::string> labels(const std::vector<PieSlice>& slices) {
    std::vector<std::string> out;
    for (const PieSlice& s : slices)
        out.push_back(s.label + "=" + std::to_string(int(s.value)));
    return out;
}

} // namespace

TEST(PieGrouping, SlicesBelowTheThresholdBecomeOneSliceAfterTheOthers) {
    struct Case {
        const char* name;
        std::vector<double> values;
        bool grouping;
        double percent;
        std::vector<std::string> drawn;
    } cases[] = {
        {"grouping off", {60, 30, 10}, false, 50, {"a=60", "b=30", "c=10"}},
        {"threshold 0 groups nothing", {60, 30, 10}, true, 0, {"a=60", "b=30", "c=10"}},
        {"a share equal to the threshold stays", {60, 30, 10}, true, 10, {"a=60", "b=30", "c=10"}},
        {"small ones gathered at the end, in between too", {10, 60, 5, 25}, true, 20, {"b=60", "d=25", "Other=15"}},
        {"a single small slice is grouped too", {95, 5}, true, 10, {"a=95", "Other=5"}},
        {"100 groups everything below the whole", {60, 40}, true, 100, {"Other=100"}},
        {"one slice of the whole stays at 100", {42}, true, 100, {"a=42"}},
        {"negative values count by size", {-50, 50}, true, 50, {"a=-50", "b=50"}},
        {"all zero: every share is 0", {0, 0}, true, 14, {"Other=0"}},
        {"no slices, no group", {}, true, 14, {}},
    };
    for (const Case& c : cases) {
        ChartForm f;
        f.Series1.groupByPercent = c.grouping;
        f.Series1.setGroupPercent(c.percent);
        char label = 'a';
        for (double v : c.values)
            f.Series1.add(v, std::string(1, label++));
        EXPECT_EQ(labels(f.Series1.slices()), c.drawn) << c.name;
    }
}

TEST(PieGrouping, SlicesKeepTheirColoursAndTheGroupTakesTheNextPosition) {
    ChartForm f;
    f.Series1.groupByPercent = true;
    f.Series1.setGroupPercent(20);
    f.Series1.add(10, "a");
    f.Series1.add(60, "b");
    f.Series1.add(30, "c", 0x123456);
    auto s = f.Series1.slices();
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].color, ChartPaletteColor(1));
    EXPECT_EQ(s[0].index, 1);
    EXPECT_EQ(s[1].color, 0x123456u);
    EXPECT_EQ(s[2].color, ChartPaletteColor(3));
    EXPECT_EQ(s[2].index, -1);
    EXPECT_DOUBLE_EQ(s[2].share, 10);
    EXPECT_EQ(ChartPaletteColor(3), Color::Blue);
    EXPECT_EQ(ChartPaletteColor(23), Color::Blue);
}

TEST(ChartModel, ChangesReachTheViewAndClicksTheHandlers) {
    ChartForm f;
    int changes = 0;
    f.Chart1.subscribe([&](Control&, Property p) { changes += p == Property::Rows; });
    f.Series1.add(1, "a");
    f.Series1.clear();
    f.Series1.clear(); // nothing to clear: no change
    f.Series1.setGroupPercent(14);
    EXPECT_EQ(changes, 3);

    std::vector<std::pair<int, MouseButton>> clicks;
    f.Series1.onClick = [&](int i, MouseButton b) { clicks.emplace_back(i, b); };
    f.Series1.userClick(2, MouseButton::Right);
    EXPECT_EQ(clicks, (std::vector<std::pair<int, MouseButton>>{{2, MouseButton::Right}}));

    f.Chart1.zoom(2);
    f.Chart1.zoom(2);
    f.Chart1.zoom(0.5);
    EXPECT_DOUBLE_EQ(f.Chart1.zoomSpan(), 2);
    for (int i = 0; i < 20; ++i)
        f.Chart1.zoom(0.5);
    EXPECT_DOUBLE_EQ(f.Chart1.zoomSpan(), 1.0 / 64);
}

TEST(ChartModel, PrintAndSaveGoThroughTheToolkitAndFailuresReachTheCaller) {
    HeadlessToolkit tk;
    ChartForm f;
    f.Chart1.print();
    f.Chart1.saveToFile("C:\\a.png");
    ASSERT_EQ(tk.chartOutputs.size(), 2u);
    EXPECT_EQ(tk.chartOutputs[0].chart, &f.Chart1);
    EXPECT_EQ(tk.chartOutputs[0].margins, (ChartMargins{15, 35, 15, 35}));
    EXPECT_EQ(tk.chartOutputs[1].fileName, "C:\\a.png");
    tk.chartOutputError = "no printer";
    EXPECT_THROW(f.Chart1.print(), std::runtime_error);
}

TEST(ChartImageFormat, TheNameChoosesPngOrJpegElseBitmap) {
    struct Case {
        const char* name;
        ChartImageFormat format;
    } cases[] = {
        {"C:\\c.png", ChartImageFormat::Png},   {"C:\\c.PNG", ChartImageFormat::Png},
        {"C:\\c.jpg", ChartImageFormat::Jpeg},  {"C:\\c.Jpg", ChartImageFormat::Jpeg},
        {"C:\\c.bmp", ChartImageFormat::Bmp},   {"C:\\c.doc", ChartImageFormat::Bmp},
        {"C:\\c", ChartImageFormat::Bmp},       {"C:\\png", ChartImageFormat::Bmp},
        {"C:\\c.png.txt", ChartImageFormat::Bmp}, {".png", ChartImageFormat::Bmp},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChartImageFormatOf(c.name), c.format) << c.name;
}

TEST(FileDialog, FilterGroupsAndTheDefaultExtension) {
    EXPECT_EQ(ParseFileFilter("Word|*.Doc|Picture|*.bmp;*.jpg,*.png"),
              (std::vector<FileFilter>{{"Word", {"*.Doc"}}, {"Picture", {"*.bmp", "*.jpg", "*.png"}}}));
    EXPECT_EQ(ParseFileFilter(""), std::vector<FileFilter>{});

    HeadlessToolkit tk;
    ChartForm f;
    f.Dlg.filter = "Picture|*.bmp";
    f.Dlg.defaultExt = "*.bmp";
    tk.fileAnswers = {"C:\\out\\chart", "C:\\out\\chart.png", "C:\\out.d\\chart", ""};
    EXPECT_TRUE(f.Dlg.execute());
    EXPECT_EQ(f.Dlg.fileName, "C:\\out\\chart.bmp");
    EXPECT_TRUE(f.Dlg.execute());
    EXPECT_EQ(f.Dlg.fileName, "C:\\out\\chart.png");
    EXPECT_TRUE(f.Dlg.execute());
    EXPECT_EQ(f.Dlg.fileName, "C:\\out.d\\chart.bmp"); // a dot in a folder's name is no extension
    EXPECT_FALSE(f.Dlg.execute());                      // cancelled: the name stays
    EXPECT_EQ(f.Dlg.fileName, "C:\\out.d\\chart.bmp");
    EXPECT_FALSE(f.Dlg.execute()); // no answer: cancelled
    ASSERT_EQ(tk.fileDialogs.size(), 5u);
    EXPECT_EQ(tk.fileDialogs[0].filter, "Picture|*.bmp");
}

TEST(SpinEdit, StaysInRangeAndReportsEachChange) {
    ChartForm f;
    int changes = 0;
    f.Sp.onChange = [&] { ++changes; };
    f.Sp.setRange(0, 100);
    f.Sp.setValue(14);
    f.Sp.userPage(10);
    EXPECT_EQ(f.Sp.value(), 100);
    f.Sp.userStep(1); // already at the top: no change
    f.Sp.userStep(-1);
    EXPECT_EQ(f.Sp.value(), 99);
    f.Sp.setValue(-5);
    EXPECT_EQ(f.Sp.value(), 0);
    EXPECT_EQ(changes, 4);
    f.Sp.setRange(10, 20); // the value follows the range
    EXPECT_EQ(f.Sp.value(), 10);
}
