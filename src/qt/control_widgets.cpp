#include "qt/control_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <type_traits>

#include "qt/pictures.h"

namespace qtui {

namespace {
bool releasedInside(QWidget* w, QMouseEvent* e) {
    return e->button() == Qt::LeftButton && w->rect().contains(e->position().toPoint());
}

// A label or a picture as assistive tools see it: a push button with the press action when
// its control has a click event, else the text or graphic it shows.
template <class W>
class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(W* w, QAccessible::Role still) : QAccessibleWidget(w, still), still_(still) {}
    W* view() const { return static_cast<W*>(widget()); }
    QAccessible::Role role() const override { return view()->pressable() ? QAccessible::Button : still_; }
    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if constexpr (std::is_base_of_v<QLabel, W>)
            if (t == QAccessible::Name && s.isEmpty())
                s = view()->text();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (view()->pressable())
            names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& action) override {
        // Pressed from the next turn of the event loop, as Qt's buttons do: a launcher runs
        // a modal window, and the tool that asked must have its answer before that ends.
        if (action == pressAction() && view()->pressable() && view()->isEnabled())
            QMetaObject::invokeMethod(view(), &W::press, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAccessible::Role still_;
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (className == QLatin1String(PictureWidget::staticMetaObject.className()))
        if (auto* w = qobject_cast<PictureWidget*>(object))
            return new PressableAccessible<PictureWidget>(w, QAccessible::Graphic);
    if (className == QLatin1String(ClickLabel::staticMetaObject.className()))
        if (auto* w = qobject_cast<ClickLabel*>(object))
            return new PressableAccessible<ClickLabel>(w, QAccessible::StaticText);
    return nullptr;
}
} // namespace

void installAccessibleWidgets() {
    static const bool installed = [] {
        QAccessible::installFactory(&accessibleFor);
        return true;
    }();
    (void)installed;
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    QLabel::mouseReleaseEvent(e);
    if (releasedInside(this, e))
        emit clicked();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    QLabel::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

void PictureWidget::setImage(const std::string& key) {
    image_ = key;
    update();
}

void PictureWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    drawPicture(p, rect(), image_);
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* e) {
    QWidget::mouseReleaseEvent(e);
    if (releasedInside(this, e))
        emit clicked();
}

void PictureWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    QWidget::mouseDoubleClickEvent(e);
    emit doubleClicked();
}

StatusBarWidget::StatusBarWidget(QWidget* parent) : QFrame(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(2);
    simple_ = new QLabel(this);
    simple_->setFrameShape(QFrame::Panel);
    simple_->setFrameShadow(QFrame::Sunken);
    simple_->hide();
    layout->addWidget(simple_, 1);
}

void StatusBarWidget::setPanels(const std::vector<std::pair<QString, int>>& panels) {
    auto* layout = static_cast<QHBoxLayout*>(this->layout());
    while (labels_.size() > panels.size()) {
        delete labels_.back();
        labels_.pop_back();
    }
    while (labels_.size() < panels.size()) {
        auto* l = new QLabel(this);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setTextFormat(Qt::PlainText);
        layout->addWidget(l);
        labels_.push_back(l);
    }
    for (std::size_t i = 0; i < panels.size(); ++i) {
        QLabel* l = labels_[i];
        l->setText(panels[i].first);
        bool last = i + 1 == panels.size();
        l->setMinimumWidth(0);
        l->setMaximumWidth(last ? QWIDGETSIZE_MAX : panels[i].second);
        if (!last)
            l->setFixedWidth(panels[i].second);
        layout->setStretchFactor(l, last ? 1 : 0);
        l->setVisible(simple_->isHidden());
    }
}

void StatusBarWidget::setSimpleText(const QString& text) {
    // A null text shows the panels again.
    bool simple = !text.isNull();
    simple_->setText(text);
    simple_->setVisible(simple);
    for (QLabel* l : labels_)
        l->setVisible(!simple);
}

QStringList StatusBarWidget::texts() const {
    if (!simple_->isHidden())
        return {simple_->text()};
    QStringList out;
    for (QLabel* l : labels_)
        out << l->text();
    return out;
}

} // namespace qtui
