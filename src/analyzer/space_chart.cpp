#include "analyzer/space_chart.h"

#include <cmath>
#include <cstdio>

#include "common/ascii_text.h"
#include "common/paths.h"
#include "platform/platform.h"
#include "services/disk.h"
#include "toolkit/control.h"
#include "toolkit/toolkit.h"

namespace {

// `value` with at most `decimals` decimals, trailing zeros dropped, and the separators.
std::string trimmedNumber(double value, int decimals, NumberSeparators sep, bool thousands) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string s = buf;
    size_t dot = s.find('.');
    std::string whole = dot == std::string::npos ? s : s.substr(0, dot);
    std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    while (!frac.empty() && frac.back() == '0')
        frac.pop_back();
    if (thousands) {
        bool negative = !whole.empty() && whole[0] == '-';
        std::string digits = negative ? whole.substr(1) : whole;
        std::string grouped;
        for (size_t i = 0; i < digits.size(); ++i) {
            if (i > 0 && (digits.size() - i) % 3 == 0)
                grouped += sep.thousands;
            grouped += digits[i];
        }
        whole = (negative ? "-" : "") + grouped;
    }
    if (whole == "-0" && frac.empty())
        whole = "0";
    return frac.empty() ? whole : whole + sep.decimal + frac;
}

std::string withDecimal(std::string s, NumberSeparators sep) {
    for (char& c : s)
        if (c == '.')
            c = sep.decimal;
    return s;
}

const char* const kDashes = "-------------------------------";

} // namespace

std::string ShareText(double share, NumberSeparators sep) { return trimmedNumber(share, 2, sep, false); }

std::string PercentText(double share, double total, NumberSeparators sep) {
    return ShareText(share, sep) + " %" + " of " + trimmedNumber(total, 3, sep, true);
}

std::string SliceDetailsText(const toolkit::PieSlice& slice, double total, NumberSeparators sep) {
    char value[64];
    std::snprintf(value, sizeof value, "%.15g", slice.value);
    return "Detail Information: " + slice.label + "\r\n" + "\r\n" + kDashes + "\r\n" + "Size   : " +
           withDecimal(value, sep) + " MByte" + "\r\n" + "Percent: " + PercentText(slice.share, total, sep) +
           " MByte" + "\r\n" + kDashes;
}

std::string SliceNoteText(const toolkit::PieSlice& slice, double total, NumberSeparators sep) {
    return slice.label + "\r\n" + PercentText(slice.share, total, sep) + "M";
}

toolkit::CanvasFont SliceListFont() { return {"Franklin Gothic Medium Cond", 8, toolkit::Color::Black}; }

std::vector<SliceListRow> SliceListRows(const toolkit::PieSeries& pie, NumberSeparators sep) {
    // The slices the pie draws: one rule decides both, so the list never leaves out a
    // drawn slice (the group of small ones included) nor lists one the pie left out.
    std::vector<SliceListRow> rows;
    int row = 0;
    for (const toolkit::PieSlice& s : pie.slices()) {
        char value[64];
        std::snprintf(value, sizeof value, "%.2f", s.value);
        rows.push_back({{10, row * 12, 10, 10}, s.color, {25, row * 12 - 1},
                        "[" + s.label + "] :  " + withDecimal(value, sep) + "M"});
        ++row;
    }
    return rows;
}

void PaintSliceList(const std::vector<SliceListRow>& rows, toolkit::Canvas& canvas) {
    toolkit::CanvasFont font = SliceListFont();
    for (const SliceListRow& r : rows) {
        canvas.fillRect(r.square, r.color);
        canvas.textOut(r.textAt.x, r.textAt.y, r.text, font);
    }
}

void FolderPie::build(const std::string& folder, int threshold, bool wholeMegabytes) {
    ClearStop();
    folder_ = folder;
    isFolder_.clear();
    series_.clear();
    series_.groupByPercent = true;
    series_.setGroupPercent(threshold);
    if (progress_)
        progress_->setPosition(0);
    auto add = [&](const TSpaceEntry& e) {
        // A link to a folder leads out of the tree: it is no folder to enter.
        isFolder_.push_back(platform::files().isDirectory(JoinPath(folder, e.Label)));
        series_.add(e.Megabytes, e.Label);
    };
    if (wholeMegabytes)
        ScanFolderSpaceWhole(folder, progress_, add);
    else
        ScanFolderSpace(folder, progress_, add);
}

void FolderPie::setThreshold(int threshold) { series_.setGroupPercent(threshold); }

bool FolderPie::isFolderSlice(int index) const {
    auto slices = series_.slices();
    if (index < 0 || index >= int(slices.size()))
        return false;
    int point = slices[size_t(index)].index;
    return point >= 0 && size_t(point) < isFolder_.size() && isFolder_[size_t(point)];
}

std::string FolderPie::folderOfSlice(int index) const {
    if (!isFolderSlice(index))
        return {};
    std::string path = JoinPath(folder_, series_.slices()[size_t(index)].label);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

void FillDriveBars(toolkit::BarSeries& sizes, toolkit::BarSeries& free, const std::vector<TDriveSpace>& drives) {
    sizes.clear();
    free.clear();
    for (const TDriveSpace& d : drives) {
        sizes.add(double(d.TotalMB), d.Root);
        free.add(double(d.FreeMB), d.Root);
    }
}

std::string DriveOfBar(const std::string& label, const TDisk& table) {
    std::string wanted = AsciiUpper(label);
    for (int i = 0; i < table.Count; ++i)
        if (AsciiUpper(table.DriveName(i)) == wanted)
            return table.DriveName(i);
    return {};
}

namespace {
// The hourglass for as long as it lives, also when the work throws.
struct Hourglass {
    Hourglass() {
        if (auto* t = toolkit::Toolkit::instance())
            t->setCursor(toolkit::Cursor::Hourglass);
    }
    ~Hourglass() {
        if (auto* t = toolkit::Toolkit::instance())
            t->setCursor(toolkit::Cursor::Default);
    }
};
} // namespace

ChartArea::ChartArea(ChartControls c) : c_(c), pie_(c.Series1, &c.Pb_Process) {
    c_.Chart_Dir.setParentName(c_.PChart.name());
    c_.Chart_Disk.setParentName(c_.PChart.name());
    c_.Chart_Dir.setVisible(true);
    c_.Chart_Disk.setVisible(false);
    c_.Sp_Slice.setRange(0, 100);
    c_.Sp_Slice.increment = 1;
    c_.Sp_Slice.pageSize = 10;
    c_.Sp_Slice.setValue(14);
    c_.Series1.groupByPercent = true;
    c_.Series1.setGroupPercent(c_.Sp_Slice.value());
}

void ChartArea::Sp_SliceChange() { pie_.setThreshold(c_.Sp_Slice.value()); }

void ChartArea::toggleCollapsed() {
    collapsed_ = !collapsed_;
    c_.PChart.setVisible(!collapsed_);
}

void ChartArea::show(toolkit::Chart& chart) {
    toolkit::Chart& other = &chart == &c_.Chart_Dir ? c_.Chart_Disk : c_.Chart_Dir;
    other.setVisible(false);
    chart.setVisible(true);
}

void ChartArea::ShowFolderPie(const std::string& folder) {
    if (collapsed_)
        return;
    std::string f = folder;
    while (!f.empty() && f.back() == '\\')
        f.pop_back();
    f += '\\';
    c_.L_Dir.setCaption(f);
    show(c_.Chart_Dir);
    ++builds_;
    pie_.build(f, c_.Sp_Slice.value(), false);
    c_.Pb_Process.setPosition(0);
    show(c_.Chart_Dir);
}

void ChartArea::AnalyzeFolderPie(const std::string& folder) {
    Hourglass busy;
    c_.L_Dir.setCaption(folder);
    ++builds_;
    pie_.build(folder, c_.Sp_Slice.value(), true);
}

void ChartArea::ShowDriveBars(const TDisk& table) {
    if (collapsed_)
        return;
    Hourglass busy;
    show(c_.Chart_Disk);
    ++builds_;
    FillDriveBars(c_.Series4, c_.Series3, DriveSpaceFigures(table));
    show(c_.Chart_Disk);
}

void ChartArea::RedrawFolderChart(const TDisk& table) {
    const std::string& dir = c_.L_Dir.caption();
    if (dir.empty() || dir == "My Computer")
        ShowDriveBars(table);
    else
        ShowFolderPie(dir);
}
