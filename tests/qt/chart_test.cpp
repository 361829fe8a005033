#include <gtest/gtest.h>

#include <QPieSeries>
#include <QPieSlice>
#include <QSpinBox>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "qt/chart_binding.h"
#include "qt_app.h"
#include "support/temp_machine.h"
#include "toolkit/chart.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

using namespace toolkit;
using qtui::ChartView;
using qtui::QtToolkit;
namespace fs = std::filesystem;

namespace {

struct TChartWindow : Form {
    TChartWindow()
        : Form("TChartWindow"), Chart_Dir(this, "Chart_Dir"), Series1(Chart_Dir, "Series1"),
          Chart_Disk(this, "Chart_Disk"), Series4(Chart_Disk, "Series4"), Series3(Chart_Disk, "Series3"),
          pInfo(this, "pInfo"), Sp_Slice(this, "Sp_Slice"), Dlg_OpenDialog(this, "Dlg_OpenDialog") {
        setClientSize(700, 400);
        Chart_Dir.setBounds(0, 0, 400, 400);
        Chart_Dir.setTitle("目录空间分析");
        Chart_Dir.axesVisible = false;
        Series1.showInLegend = false;
        Series1.groupByPercent = true;
        Series1.setGroupPercent(14);
        for (auto [v, l] : {std::pair{50.0, "a"}, {30.0, "b"}, {10.0, "c"}, {10.0, "d"}})
            Series1.add(v, l);
        Chart_Disk.setBounds(0, 0, 400, 400);
        Chart_Disk.setVisible(false);
        Series4.title = "sizes";
        Series4.add(40000, "C:\\");
        Series3.title = "free";
        Series3.add(10000, "C:\\");
        pInfo.setBounds(410, 0, 200, 100);
        Sp_Slice.setBounds(410, 120, 60, 22);
        Sp_Slice.setValue(14);
        Chart_Dir.onAfterDraw = [this] { ++draws; };
        Series1.onClick = [this](int i, MouseButton b) { clicks.emplace_back(i, b); };
        Series1.onDblClick = [this](int i) { dblClicks.push_back(i); };
        pInfo.onPaint = [](Canvas& c) { c.fillRect({10, 0, 10, 10}, Color::Red); };
    }
    Chart Chart_Dir;
    PieSeries Series1;
    Chart Chart_Disk;
    BarSeries Series4, Series3;
    PaintBox pInfo;
    SpinEdit Sp_Slice;
    OpenDialog Dlg_OpenDialog;
    int draws = 0;
    std::vector<std::pair<int, MouseButton>> clicks;
    std::vector<int> dblClicks;
};

struct Charts : ::testing::Test {
    QApplication& a = qttest::app();
    testsupport::TempMachine m;
    QtToolkit tk;
    TChartWindow f;
    ChartView* view() { return qobject_cast<ChartView*>(tk.windowOf(f).widgetFor(f.Chart_Dir)); }
    QPieSeries* pie() {
        for (QAbstractSeries* s : view()->chart()->series())
            if (auto* p = qobject_cast<QPieSeries*>(s))
                return p;
        return nullptr;
    }
    // A point inside slice `i`, half way out along its middle.
    QPoint inside(int i) {
        QPieSlice* s = pie()->slices()[i];
        QRectF area = view()->chart()->plotArea();
        double r = pie()->pieSize() * std::min(area.width(), area.height()) / 4;
        double a = (s->startAngle() + s->angleSpan() / 2) * M_PI / 180;
        QPointF c = area.center() + QPointF(r * std::sin(a), -r * std::cos(a));
        return view()->mapFromScene(view()->chart()->mapToScene(c));
    }
    std::string head(const fs::path& p, size_t n) {
        std::ifstream in(p, std::ios::binary);
        std::string s(n, '\0');
        in.read(s.data(), std::streamsize(n));
        return s;
    }
};

} // namespace

TEST_F(Charts, TheViewDrawsTheGroupedSlicesAndReportsClicksOnThem) {
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tk.windowOf(f)));
    ASSERT_NE(view(), nullptr);
    QStringList labels;
    for (QPieSlice* s : pie()->slices())
        labels << s->label();
    EXPECT_EQ(labels, (QStringList{"a", "b", "Other"}));
    EXPECT_EQ(pie()->slices()[2]->brush().color(), QColor::fromRgb(ChartPaletteColor(4)));
    EXPECT_GT(f.draws, 0); // after-draw ran

    QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, inside(1));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, inside(2));
    QTest::mouseClick(view()->viewport(), Qt::RightButton, {}, QPoint(2, 2)); // no slice there
    EXPECT_EQ(f.clicks, (std::vector<std::pair<int, MouseButton>>{{1, MouseButton::Right}, {2, MouseButton::Left}}));
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, inside(0));
    EXPECT_EQ(f.dblClicks, std::vector<int>{0});

    // A new threshold redraws a moment later, and zoom out halves the pie.
    double size = pie()->pieSize();
    f.Series1.setGroupPercent(10);
    f.Chart_Dir.zoom(2);
    QTRY_COMPARE(pie()->slices().size(), 4);
    EXPECT_DOUBLE_EQ(pie()->pieSize(), size / 2);
}

TEST_F(Charts, PrintingTakesTheChartAsksForEvenWhenHiddenIntoThePdfFile) {
    fs::path pdf = m.root() / "chart.pdf";
    tk.setPrintToFile(pdf.string());
    f.show();
    f.Chart_Dir.setVisible(false);
    f.Chart_Disk.setVisible(true);
    f.Chart_Dir.print();
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(head(pdf, 4), "%PDF");
    EXPECT_GT(fs::file_size(pdf), 1000u);

    struct Case {
        QRect page;
        QRect area;
    } cases[] = {{QRect(0, 0, 1000, 2000), QRect(150, 700, 700, 600)}, {QRect(10, 20, 100, 100), QRect(25, 55, 70, 30)}};
    for (const Case& c : cases)
        EXPECT_EQ(qtui::PrintArea(c.page, ChartMargins{}), c.area);
}

TEST_F(Charts, SavingWritesTheFormatTheNameAsksForElseABitmap) {
    struct Case {
        const char* name;
        std::string magic;
    } cases[] = {{"C:\\c.png", "\x89PNG"}, {"C:\\c.JPG", std::string("\xFF\xD8", 2)}, {"C:\\c.bmp", "BM"},
                 {"C:\\c.doc", "BM"}, {"C:\\c", "BM"}};
    for (const Case& c : cases) {
        f.Chart_Dir.saveToFile(c.name);
        EXPECT_EQ(head(m.native(c.name), c.magic.size()), c.magic) << c.name;
    }
    // The picture is the chart: its slices are there in their colours.
    QImage png(QString::fromStdString(m.native("C:\\c.png").string()));
    int red = 0;
    for (int y = 0; y < png.height(); ++y)
        for (int x = 0; x < png.width(); ++x)
            red += png.pixelColor(x, y) == QColor::fromRgb(ChartPaletteColor(0));
    EXPECT_GT(red, 1000);
    EXPECT_THROW(f.Chart_Dir.saveToFile("C:\\no such folder\\c.png"), std::runtime_error);
}

TEST_F(Charts, PaintBoxSpinEditAndFileDialogFollowTheirModels) {
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tk.windowOf(f)));
    QWidget* box = tk.windowOf(f).widgetFor(f.pInfo);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->grab().toImage().pixelColor(15, 5), QColor(Qt::red));

    auto* spin = qobject_cast<QSpinBox*>(tk.windowOf(f).widgetFor(f.Sp_Slice));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->value(), 14);
    int changes = 0;
    f.Sp_Slice.onChange = [&] { ++changes; };
    spin->setValue(20);
    EXPECT_EQ(f.Sp_Slice.value(), 20);
    f.Sp_Slice.setValue(150);
    EXPECT_EQ(spin->value(), 100);
    EXPECT_EQ(changes, 2);

    tk.fileDialogAnswers = {(m.drive('C') / "out").string(), ""};
    f.Dlg_OpenDialog.defaultExt = "*.bmp";
    EXPECT_TRUE(f.Dlg_OpenDialog.execute());
    EXPECT_EQ(f.Dlg_OpenDialog.fileName, "C:\\out.bmp");
    EXPECT_FALSE(f.Dlg_OpenDialog.execute());
}
