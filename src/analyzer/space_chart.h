#pragma once
// The rules of the analyzer's space charts that hold whatever draws them: the folder pie
// and its build, the slice list beside it, the texts of a slice, and the drive bars.
#include <cstdint>
#include <string>
#include <vector>

#include "analyzer/size_engine.h"
#include "toolkit/chart.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"

class TDisk;
namespace toolkit {
class ProgressBar;
}

// The user's decimal and thousands separators.
struct NumberSeparators {
    char decimal = '.';
    char thousands = ',';
};

// A share of the pie with at most two decimals and no trailing zeros: "12.5", "20", "33.33".
std::string ShareText(double share, NumberSeparators sep = {});
// "12.5 % of 1,234.567": the share and " %", then the total with thousands separators and
// at most three decimals.
std::string PercentText(double share, double total, NumberSeparators sep = {});
// The box a right click on a slice shows.
std::string SliceDetailsText(const toolkit::PieSlice& slice, double total, NumberSeparators sep = {});
// The box a double-click on a slice that is no folder shows.
std::string SliceNoteText(const toolkit::PieSlice& slice, double total, NumberSeparators sep = {});

// One row of the slice list: a square in the slice's colour and its text beside it.
struct SliceListRow {
    toolkit::Rect square;
    std::uint32_t color = 0;
    toolkit::Point textAt;
    std::string text; // "[label] :  12.50M"
    bool operator==(const SliceListRow&) const = default;
};
// The font of the slice list.
toolkit::CanvasFont SliceListFont();
// A row for every slice the pie draws, the group included, top to bottom.
std::vector<SliceListRow> SliceListRows(const toolkit::PieSeries& pie, NumberSeparators sep = {});
void PaintSliceList(const std::vector<SliceListRow>& rows, toolkit::Canvas& canvas);

// The pie of one folder: a slice per subfolder and per file above 1,024 bytes, sized by
// the size engine, small slices grouped by the threshold.
class FolderPie {
public:
    FolderPie(toolkit::PieSeries& series, toolkit::ProgressBar* progress) : series_(series), progress_(progress) {}

    // Clears the pie and sizes `folder` into it, a slice as soon as it is measured, so a
    // view can fill while the walk runs. Starts with no stop requested: a stop given to
    // an earlier build (ESC) is over, and one given during this build ends it.
    // `wholeMegabytes` cuts folder sizes to whole megabytes.
    void build(const std::string& folder, int threshold, bool wholeMegabytes);
    // Regroups the same slices.
    void setThreshold(int threshold);

    // The folder the pie was built for, as given.
    const std::string& folder() const { return folder_; }
    // Whether drawn slice `index` (of series.slices()) stands for a subfolder.
    bool isFolderSlice(int index) const;
    // The folder a double-click on drawn slice `index` enters; empty for a file slice,
    // the group, or an index beyond the slices.
    std::string folderOfSlice(int index) const;

private:
    toolkit::PieSeries& series_;
    toolkit::ProgressBar* progress_;
    std::string folder_;
    std::vector<bool> isFolder_; // by point
};

// The drive chart: each drive's size in `sizes` and its free space in `free`, labelled
// with its root, in table order.
void FillDriveBars(toolkit::BarSeries& sizes, toolkit::BarSeries& free, const std::vector<TDriveSpace>& drives);
// The root of the drive table whose upper-cased text equals the bar's label upper-cased;
// empty when none does.
std::string DriveOfBar(const std::string& label, const TDisk& table);

// The controls of the chart area the analyzer window hands to its charts.
struct ChartControls {
    toolkit::Panel& pDirInfo;    // the area, which the user collapses and restores
    toolkit::Panel& PChart;      // where the chart shown sits
    toolkit::Chart& Chart_Dir;   // the folder pie
    toolkit::PieSeries& Series1;
    toolkit::Chart& Chart_Disk;  // the drive bars
    toolkit::BarSeries& Series4; // drive sizes
    toolkit::BarSeries& Series3; // free space
    toolkit::Label& L_Dir;       // the folder of the chart
    toolkit::ProgressBar& Pb_Process;
    toolkit::SpinEdit& Sp_Slice; // the grouping threshold
};

// The chart area: exactly one of the two charts shows; no scan runs while it is collapsed.
class ChartArea {
public:
    explicit ChartArea(ChartControls c);

    // The threshold follows the spinner (0 to 100, 14 at first); the pie regroups at once.
    void Sp_SliceChange();

    bool collapsed() const { return collapsed_; }
    // Collapses the area when it is open, restores it when it is collapsed.
    void toggleCollapsed();

    // Builds and shows the pie of `folder` (ending it with one "\"); nothing while collapsed.
    void ShowFolderPie(const std::string& folder);
    // Builds the pie of `folder` with whole-megabyte folders, collapsed or not, without
    // switching charts.
    void AnalyzeFolderPie(const std::string& folder);
    // Builds and shows the drive bars of `table`; nothing while collapsed.
    void ShowDriveBars(const TDisk& table);
    // The drive bars when L_Dir reads "My Computer" or nothing, else the pie of L_Dir.
    void RedrawFolderChart(const TDisk& table);

    FolderPie& pie() { return pie_; }
    // How many builds ran (the pie and the bars), for the window's tests.
    int builds() const { return builds_; }

private:
    void show(toolkit::Chart& chart);
    ChartControls c_;
    FolderPie pie_;
    bool collapsed_ = false;
    int builds_ = 0;
};
