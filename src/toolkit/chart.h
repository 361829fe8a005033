#pragma once
// A chart control: series of labelled values drawn as a pie or as bars, with clicks on a
// slice or bar, an after-draw event, zoom, printing and saving as a picture. The front end
// draws what the model says; the pie's grouping of small slices is decided here, so every
// view (and every test) sees the same slices.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

class Chart;

enum class MouseButton { Left, Right, Middle };

struct ChartPoint {
    double value = 0;
    std::string label;
    std::uint32_t color = Color::None; // None: the palette's colour for its position
    bool operator==(const ChartPoint&) const = default;
};

// The automatic colours, by position; the fourth is pure blue.
inline constexpr int kChartPaletteSize = 20;
std::uint32_t ChartPaletteColor(int index);

// A series belongs to one chart for its whole life: declare the chart before its series.
class ChartSeries {
public:
    enum class Kind { Pie, Bar };
    ChartSeries(Chart& chart, std::string name, Kind kind);
    virtual ~ChartSeries();
    ChartSeries(const ChartSeries&) = delete;
    ChartSeries& operator=(const ChartSeries&) = delete;

    Chart& chart() const { return chart_; }
    const std::string& name() const { return name_; }
    Kind kind() const { return kind_; }

    // Shown in the legend when the chart lists series by title.
    std::string title;
    bool showInLegend = true;
    bool marksVisible = true;
    // An inactive series is neither drawn nor listed.
    bool active() const { return active_; }
    void setActive(bool b);

    const std::vector<ChartPoint>& points() const { return points_; }
    int count() const { return int(points_.size()); }
    void add(double value, const std::string& label, std::uint32_t color = Color::None);
    void clear();
    // The colour a point is drawn in: its own, else the palette's for its position.
    std::uint32_t colorOf(int index) const;

    // A click on point `index` (for a pie: of its drawn slices) with a mouse button, and a
    // double-click (left button).
    std::function<void(int index, MouseButton button)> onClick;
    std::function<void(int index)> onDblClick;
    void userClick(int index, MouseButton button) {
        if (onClick) onClick(index, button);
    }
    void userDblClick(int index) {
        if (onDblClick) onDblClick(index);
    }

protected:
    void changed();

private:
    Chart& chart_;
    std::string name_;
    Kind kind_;
    bool active_ = true;
    std::vector<ChartPoint> points_;
};

// One slice as the pie draws it: a point of the series, or the group of the small ones.
struct PieSlice {
    double value = 0;
    std::string label;
    std::uint32_t color = 0;
    int index = -1;     // the point it stands for; -1 for the group
    double share = 0;   // percent of the whole
    bool operator==(const PieSlice&) const = default;
};

class PieSeries : public ChartSeries {
public:
    PieSeries(Chart& chart, std::string name) : ChartSeries(chart, std::move(name), Kind::Pie) {}

    bool circled = true;
    // Slices whose share is below `groupPercent` (strictly) are drawn as one slice
    // `otherLabel`, after all the others; 0 groups nothing.
    bool groupByPercent = false;
    double groupPercent() const { return groupPercent_; }
    void setGroupPercent(double percent);
    std::string otherLabel = "Other";

    // |value| summed over the points.
    double total() const;
    // |value| * 100 / total; 0 while the total is 0.
    double shareOf(double value) const;
    // The slices drawn, in order: every point at or above the threshold, then the group
    // when any point fell below it. Its colour is the palette's for the position after
    // the last point.
    std::vector<PieSlice> slices() const;

private:
    double groupPercent_ = 0;
};

class BarSeries : public ChartSeries {
public:
    BarSeries(Chart& chart, std::string name) : ChartSeries(chart, std::move(name), Kind::Bar) {}
    enum class Marks { Value, LabelAndValue };
    Marks marks = Marks::Value;
    int barWidthPercent = 70;
    int offsetPercent = 0; // of a bar's width; negative: to the left
    // A gradient from the first colour to the second; None: a plain fill.
    std::uint32_t gradientStart = Color::None, gradientEnd = Color::None;
};

// Margins as percent of the page.
struct ChartMargins {
    int left = 15, top = 35, right = 15, bottom = 35;
    bool operator==(const ChartMargins&) const = default;
};

// How a chart is written to a file: by the name's ending, else as a bitmap.
enum class ChartImageFormat { Bmp, Png, Jpeg };
ChartImageFormat ChartImageFormatOf(const std::string& fileName);

class Chart : public Control {
public:
    Chart(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::Chart) {}

    // The text drawn above the chart (the caption holds nothing).
    const std::string& title() const { return title_; }
    void setTitle(const std::string& t);
    enum class Legend { Hidden, Bottom, Right };
    Legend legend = Legend::Bottom;
    // The legend lists the series by title rather than the points of the first series.
    bool legendListsSeries = false;
    bool axesVisible = true;
    // A picture key tiled behind the chart; empty: a plain background.
    std::string backgroundImage;
    ChartMargins printMargins;

    // The series drawn in this chart, in the order they were made.
    const std::vector<ChartSeries*>& series() const { return series_; }

    // The span of every axis relative to the chart's own: 2 after one zoom out.
    double zoomSpan() const { return zoomSpan_; }
    // Zoom out (factor 2) widens every span around its centre, zoom in (0.5) narrows it.
    void zoom(double factor);
    void resetZoom();

    // Run by the view after each time it has drawn the chart.
    std::function<void()> onAfterDraw;
    void afterDraw() {
        if (onAfterDraw) onAfterDraw();
    }
    // Asks the view to draw the chart again.
    void repaint() { changed(Property::Rows); }

    // On the default printer, within printMargins; errors reach the caller.
    void print();
    // As a picture file (ChartImageFormatOf); errors reach the caller.
    void saveToFile(const std::string& fileName);

    // Series use.
    void attach(ChartSeries* s) { series_.push_back(s); }
    void detach(ChartSeries* s);
    void seriesChanged() { changed(Property::Rows); }

private:
    std::string title_;
    std::vector<ChartSeries*> series_;
    double zoomSpan_ = 1;
};

} // namespace toolkit
