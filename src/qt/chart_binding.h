#pragma once
// Charts, paint boxes and spin edits: the widgets for their control models. A chart view
// redraws from the model a moment after it changes (a pie fills while a scan pumps), so a
// scan that adds thousands of slices draws a few times, not once per slice.
#include <QChartView>
#include <QImage>
#include <QRect>
#include <QTimer>
#include <memory>

#include "toolkit/chart.h"

class QPieSeries;

namespace qtui {

class ControlBinding;

class ChartView : public QChartView {
    Q_OBJECT
public:
    ChartView(toolkit::Chart& model, QWidget* parent);
    // Builds the drawing from the model now.
    void rebuild();
    // Asks for a rebuild a moment from now; several requests make one.
    void scheduleRebuild();
    // The drawn pie slice under a point of the view, or -1.
    int pieSliceAt(QPoint pos) const;
    // The model is gone: the view draws nothing more and reports nothing.
    void forget() { model_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    toolkit::PieSeries* pieModel() const;
    toolkit::Chart* model_;
    QPieSeries* pie_ = nullptr;
    QTimer rebuildTimer_;
    int pressedSlice_ = -1;
};

// The chart drawn at `size`, as the view shows it, whether or not a view of it is shown.
QImage RenderChart(toolkit::Chart& chart, QSize size);
// The part of a page a chart is printed in: the page less its margins in percent.
QRect PrintArea(const QRect& page, const toolkit::ChartMargins& margins);
// Writes the chart in the format its name asks for (PNG, JPEG, else BMP); throws with the
// message to show when the file cannot be written.
void SaveChartImage(toolkit::Chart& chart, const std::string& fileName);

std::unique_ptr<ControlBinding> bindChart(toolkit::Chart& c, QWidget* parent);
std::unique_ptr<ControlBinding> bindPaintBox(toolkit::Control& c, QWidget* parent);
std::unique_ptr<ControlBinding> bindSpinEdit(toolkit::Control& c, QWidget* parent);

} // namespace qtui
