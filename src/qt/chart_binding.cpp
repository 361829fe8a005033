#include "qt/chart_binding.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QGraphicsLayout>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QSpinBox>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/platform.h"
#include "qt/control_binding.h"
#include "qt/pictures.h"
#include "qt/qt_text.h"
#include "toolkit/paint_box.h"
#include "toolkit/spin_edit.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

namespace {
constexpr double kPieSize = 0.7;

QColor colorOf(std::uint32_t c) { return QColor::fromRgb(QRgb(c)); }
} // namespace

ChartView::ChartView(Chart& model, QWidget* parent) : QChartView(new QChart, parent), model_(&model) {
    setRenderHint(QPainter::Antialiasing);
    rebuildTimer_.setSingleShot(true);
    rebuildTimer_.setInterval(40);
    connect(&rebuildTimer_, &QTimer::timeout, this, [this] { rebuild(); });
    rebuild();
}

void ChartView::scheduleRebuild() {
    if (!rebuildTimer_.isActive())
        rebuildTimer_.start();
}

PieSeries* ChartView::pieModel() const {
    if (!model_)
        return nullptr;
    for (ChartSeries* s : model_->series())
        if (s->kind() == ChartSeries::Kind::Pie && s->active())
            return static_cast<PieSeries*>(s);
    return nullptr;
}

void ChartView::rebuild() {
    rebuildTimer_.stop();
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* a : c->axes())
        c->removeAxis(a), delete a;
    pie_ = nullptr;
    if (!model_)
        return;
    const Chart& m = *model_;
    c->setTitle(qs(m.title()));
    c->legend()->setVisible(m.legend != Chart::Legend::Hidden);
    c->legend()->setAlignment(m.legend == Chart::Legend::Right ? Qt::AlignRight : Qt::AlignBottom);
    if (!m.backgroundImage.empty() && isKnownPicture(m.backgroundImage)) {
        QImage tile(64, 64, QImage::Format_RGB32);
        tile.fill(Qt::white);
        QPainter p(&tile);
        drawPicture(p, tile.rect(), m.backgroundImage);
        c->setBackgroundBrush(QBrush(tile));
    }
    double span = m.zoomSpan();

    if (PieSeries* pm = pieModel()) {
        auto* pie = new QPieSeries;
        pie->setPieSize(std::clamp(kPieSize / span, 0.02, 1.0));
        for (const PieSlice& s : pm->slices()) {
            auto* slice = pie->append(qs(s.label), std::fabs(s.value));
            slice->setBrush(colorOf(s.color));
            slice->setLabelVisible(pm->marksVisible);
        }
        c->addSeries(pie);
        pie_ = pie;
        if (!pm->showInLegend)
            for (QLegendMarker* mk : c->legend()->markers(pie))
                mk->setVisible(false);
    }

    // The bar series share one category axis, labelled by the first one's points.
    std::vector<BarSeries*> bars;
    for (ChartSeries* s : m.series())
        if (s->kind() == ChartSeries::Kind::Bar && s->active())
            bars.push_back(static_cast<BarSeries*>(s));
    if (!bars.empty()) {
        auto* group = new QBarSeries;
        double top = 0;
        int width = 0;
        for (BarSeries* b : bars) {
            auto* set = new QBarSet(qs(b->title));
            set->setLabelColor(Qt::black);
            for (const ChartPoint& p : b->points()) {
                *set << p.value;
                top = std::max(top, p.value);
            }
            if (b->gradientStart != Color::None) {
                QLinearGradient g(0, 0, 0, 1);
                g.setCoordinateMode(QGradient::ObjectBoundingMode);
                g.setColorAt(0, colorOf(b->gradientStart));
                g.setColorAt(1, colorOf(b->gradientEnd == Color::None ? b->gradientStart : b->gradientEnd));
                set->setBrush(g);
            }
            width = std::max(width, b->barWidthPercent);
            connect(set, &QBarSet::clicked, this, [this, b](int index) {
                if (model_)
                    dispatch([b, index] { b->userClick(index, MouseButton::Left); });
            });
            connect(set, &QBarSet::doubleClicked, this, [this, b](int index) {
                if (model_)
                    dispatch([b, index] { b->userDblClick(index); });
            });
            group->append(set);
        }
        group->setBarWidth(std::clamp(width, 10, 100) / 100.0);
        group->setLabelsVisible(bars.front()->marksVisible);
        group->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
        c->addSeries(group);
        QStringList categories;
        for (const ChartPoint& p : bars.front()->points())
            categories << qs(p.label);
        auto* x = new QBarCategoryAxis;
        x->append(categories);
        auto* y = new QValueAxis;
        // Zooming widens or narrows the value span around its centre.
        double hi = top > 0 ? top * 1.1 : 1;
        double centre = hi / 2, half = hi / 2 * span;
        y->setRange(centre - half, centre + half);
        y->setLabelFormat("%.0f");
        c->addAxis(x, Qt::AlignBottom);
        c->addAxis(y, Qt::AlignLeft);
        group->attachAxis(x);
        group->attachAxis(y);
        x->setVisible(m.axesVisible);
        y->setVisible(m.axesVisible);
    }
    viewport()->update();
}

void ChartView::paintEvent(QPaintEvent* e) {
    QChartView::paintEvent(e);
    if (model_)
        dispatch([this] { model_->afterDraw(); });
}

int ChartView::pieSliceAt(QPoint pos) const {
    if (!pie_)
        return -1;
    QRectF area = chart()->plotArea();
    QPointF p = chart()->mapFromScene(mapToScene(pos));
    QPointF centre(area.left() + area.width() * pie_->horizontalPosition(),
                   area.top() + area.height() * pie_->verticalPosition());
    double radius = pie_->pieSize() * std::min(area.width(), area.height()) / 2;
    double dx = p.x() - centre.x(), dy = p.y() - centre.y();
    if (dx * dx + dy * dy > radius * radius)
        return -1;
    // Angles run clockwise from twelve o'clock, as the slices' do.
    double angle = std::atan2(dx, -dy) * 180 / M_PI;
    if (angle < 0)
        angle += 360;
    const QList<QPieSlice*> slices = pie_->slices();
    for (int i = 0; i < slices.size(); ++i) {
        double start = slices[i]->startAngle(), end = start + slices[i]->angleSpan();
        if (angle >= start && angle < end)
            return i;
    }
    return -1;
}

void ChartView::mousePressEvent(QMouseEvent* e) {
    pressedSlice_ = pieSliceAt(e->pos());
    QChartView::mousePressEvent(e);
}

void ChartView::mouseReleaseEvent(QMouseEvent* e) {
    int slice = pieSliceAt(e->pos());
    PieSeries* pm = pieModel();
    QChartView::mouseReleaseEvent(e);
    if (!pm || slice < 0 || slice != pressedSlice_)
        return;
    MouseButton b = e->button() == Qt::RightButton ? MouseButton::Right
                    : e->button() == Qt::MiddleButton ? MouseButton::Middle
                                                      : MouseButton::Left;
    dispatch([pm, slice, b] { pm->userClick(slice, b); });
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* e) {
    int slice = e->button() == Qt::LeftButton ? pieSliceAt(e->pos()) : -1;
    PieSeries* pm = pieModel();
    QChartView::mouseDoubleClickEvent(e);
    if (pm && slice >= 0)
        dispatch([pm, slice] { pm->userDblClick(slice); });
}

QImage RenderChart(Chart& chart, QSize size) {
    ChartView view(chart, nullptr); // built from the model now
    view.forget();                  // a drawing for a file or a page: no events run from it
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(size.expandedTo(QSize(16, 16)));
    view.chart()->resize(view.size());
    if (view.chart()->layout())
        view.chart()->layout()->activate();
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    view.scene()->render(&p, QRectF(image.rect()), view.chart()->geometry());
    return image;
}

QRect PrintArea(const QRect& page, const ChartMargins& m) {
    int left = page.width() * m.left / 100, right = page.width() * m.right / 100;
    int top = page.height() * m.top / 100, bottom = page.height() * m.bottom / 100;
    return QRect(page.left() + left, page.top() + top, std::max(1, page.width() - left - right),
                 std::max(1, page.height() - top - bottom));
}

void SaveChartImage(Chart& chart, const std::string& fileName) {
    QSize size(chart.bounds().width > 0 ? chart.bounds().width : 640,
               chart.bounds().height > 0 ? chart.bounds().height : 400);
    const char* format = "BMP";
    switch (ChartImageFormatOf(fileName)) {
    case ChartImageFormat::Png: format = "PNG"; break;
    case ChartImageFormat::Jpeg: format = "JPG"; break;
    case ChartImageFormat::Bmp: break;
    }
    QImage image = RenderChart(chart, size);
    if (!image.save(qs(platform::toNative(fileName)), format))
        throw std::runtime_error("Cannot create file \"" + fileName + "\"");
}

namespace {

class ChartBinding : public ControlBinding {
public:
    ChartBinding(Chart& c, ChartView* w) : ControlBinding(c, w), view_(w) {}
    ~ChartBinding() override {
        if (view_)
            view_->forget();
    }
    void apply(Property p) override {
        if (dying_) {
            if (view_)
                view_->forget();
            return;
        }
        if (p == Property::Rows || p == Property::Caption || p == Property::Range)
            view_->scheduleRebuild();
    }
    QPointer<ChartView> view_;
};

class PaintBoxWidget : public QWidget {
public:
    PaintBoxWidget(PaintBox& model, QWidget* parent) : QWidget(parent), model_(&model) {}
    void forget() { model_ = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!model_)
            return;
        QPainter p(this);
        struct QtCanvas : Canvas {
            QPainter& p;
            explicit QtCanvas(QPainter& painter) : p(painter) {}
            void fillRect(const Rect& r, std::uint32_t color) override {
                p.fillRect(QRect(r.left, r.top, r.width, r.height), colorOf(color));
            }
            void textOut(int x, int y, const std::string& text, const CanvasFont& font) override {
                QFont f = p.font();
                if (!font.name.empty())
                    f.setFamily(qs(font.name));
                if (font.pointSize > 0)
                    f.setPointSize(font.pointSize);
                p.setFont(f);
                p.setPen(colorOf(font.color));
                QFontMetrics fm(f);
                p.drawText(QPoint(x, y + fm.ascent()), qs(text));
            }
        } canvas(p);
        PaintBox* m = model_;
        dispatch([m, &canvas] { m->paint(canvas); });
    }

private:
    PaintBox* model_;
};

class PaintBoxBinding : public ControlBinding {
public:
    PaintBoxBinding(PaintBox& c, PaintBoxWidget* w) : ControlBinding(c, w), view_(w) {}
    ~PaintBoxBinding() override {
        if (view_)
            view_->forget();
    }
    void apply(Property p) override {
        if (dying_) {
            if (view_)
                view_->forget();
            return;
        }
        if (p == Property::Other)
            view_->update();
    }
    QPointer<PaintBoxWidget> view_;
};

class SpinEditBinding : public ControlBinding {
public:
    SpinEditBinding(SpinEdit& c, QSpinBox* w) : ControlBinding(c, w), spin_(c), box_(w) {
        connect(w, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
            if (!applying_)
                dispatch([this, v] { spin_.setValue(v); });
        });
    }
    void apply(Property p) override {
        if (p != Property::Range && p != Property::Position)
            return;
        applying_ = true;
        box_->setRange(spin_.minValue(), spin_.maxValue());
        box_->setSingleStep(spin_.increment);
        box_->setValue(spin_.value());
        applying_ = false;
    }
    SpinEdit& spin_;
    QPointer<QSpinBox> box_;
    bool applying_ = false;
};

} // namespace

std::unique_ptr<ControlBinding> bindChart(Chart& c, QWidget* parent) {
    return std::make_unique<ChartBinding>(c, new ChartView(c, parent));
}

std::unique_ptr<ControlBinding> bindPaintBox(Control& c, QWidget* parent) {
    auto& box = static_cast<PaintBox&>(c);
    return std::make_unique<PaintBoxBinding>(box, new PaintBoxWidget(box, parent));
}

std::unique_ptr<ControlBinding> bindSpinEdit(Control& c, QWidget* parent) {
    return std::make_unique<SpinEditBinding>(static_cast<SpinEdit&>(c), new QSpinBox(parent));
}

} // namespace qtui
