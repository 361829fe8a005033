#include "toolkit/chart.h"

#include <algorithm>
#include <cmath>

#include "common/ascii_text.h"
#include "toolkit/toolkit.h"

namespace toolkit {

std::uint32_t ChartPaletteColor(int index) {
    // Distinct on white and on each other; the fourth is pure blue.
    static constexpr std::uint32_t palette[kChartPaletteSize] = {
        0xFF0000, 0x008000, 0xFFD700, 0x0000FF, 0xFF8C00, 0x808080, 0xFF00FF, 0x008080, 0x000080, 0x800000,
        0x00FF00, 0x808000, 0x800080, 0xC0C0C0, 0x00FFFF, 0x8B4513, 0xC0DCC0, 0xA6CAF0, 0xF0E68C, 0xA4A0A0,
    };
    if (index < 0)
        index = 0;
    return palette[index % kChartPaletteSize];
}

ChartSeries::ChartSeries(Chart& chart, std::string name, Kind kind) : chart_(chart), name_(std::move(name)), kind_(kind) {
    chart_.attach(this);
}

ChartSeries::~ChartSeries() { chart_.detach(this); }

void ChartSeries::setActive(bool b) {
    if (active_ == b)
        return;
    active_ = b;
    changed();
}

void ChartSeries::add(double value, const std::string& label, std::uint32_t color) {
    points_.push_back({value, label, color});
    changed();
}

void ChartSeries::clear() {
    if (points_.empty())
        return;
    points_.clear();
    changed();
}

std::uint32_t ChartSeries::colorOf(int index) const {
    if (index >= 0 && index < count() && points_[size_t(index)].color != Color::None)
        return points_[size_t(index)].color;
    return ChartPaletteColor(index);
}

void ChartSeries::changed() { chart_.seriesChanged(); }

void PieSeries::setGroupPercent(double percent) {
    if (percent == groupPercent_)
        return;
    groupPercent_ = percent;
    changed();
}

double PieSeries::total() const {
    double sum = 0;
    for (const ChartPoint& p : points())
        sum += std::fabs(p.value);
    return sum;
}

double PieSeries::shareOf(double value) const {
    double sum = total();
    return sum > 0 ? std::fabs(value) * 100 / sum : 0;
}

std::vector<PieSlice> PieSeries::slices() const {
    std::vector<PieSlice> out;
    double sum = total();
    auto share = [&](double v) { return sum > 0 ? std::fabs(v) * 100 / sum : 0; };
    double grouped = 0;
    bool anyGrouped = false;
    for (int i = 0; i < count(); ++i) {
        const ChartPoint& p = points()[size_t(i)];
        double s = share(p.value);
        if (groupByPercent && s < groupPercent_) {
            grouped += p.value;
            anyGrouped = true;
            continue;
        }
        out.push_back({p.value, p.label, colorOf(i), i, s});
    }
    if (anyGrouped)
        out.push_back({grouped, otherLabel, ChartPaletteColor(count()), -1, share(grouped)});
    return out;
}

ChartImageFormat ChartImageFormatOf(const std::string& fileName) {
    std::string lower = fileName;
    for (char& c : lower)
        c = AsciiLower(c);
    auto endsWith = [&](const char* ext) {
        std::string e = ext;
        return lower.size() > e.size() && lower.compare(lower.size() - e.size(), e.size(), e) == 0;
    };
    if (endsWith(".png"))
        return ChartImageFormat::Png;
    if (endsWith(".jpg"))
        return ChartImageFormat::Jpeg;
    return ChartImageFormat::Bmp;
}

void Chart::setTitle(const std::string& t) { set(title_, t, Property::Caption); }

void Chart::zoom(double factor) {
    if (!(factor > 0))
        return;
    // Kept within a range where the drawing still means something.
    zoomSpan_ = std::clamp(zoomSpan_ * factor, 1.0 / 64, 64.0);
    changed(Property::Range);
}

void Chart::resetZoom() {
    zoomSpan_ = 1;
    changed(Property::Range);
}

void Chart::print() { Toolkit::current().printChart(*this); }

void Chart::saveToFile(const std::string& fileName) { Toolkit::current().saveChart(*this, fileName); }

void Chart::detach(ChartSeries* s) { std::erase(series_, s); }

} // namespace toolkit
