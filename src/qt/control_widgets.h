#pragma once
// Widgets for the control kinds Qt has no exact match for.
#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

namespace qtui {

// A label that reports clicks, as the system's labels do. One whose control has a click
// event is pressable: assistive tools see a push button that answers the press action.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    bool pressable() const { return pressable_; }
    void setPressable(bool b) { pressable_ = b; }
    // What a click does, for the press action.
    void press() { emit clicked(); }
signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool pressable_ = false;
};

// A picture drawn from its image key (see pictures.h); reports clicks. Pressable as a
// label is: a launcher picture is a push button to assistive tools.
class PictureWidget : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setImage(const std::string& key);
    const std::string& image() const { return image_; }
    bool pressable() const { return pressable_; }
    void setPressable(bool b) { pressable_ = b; }
    void press() { emit clicked(); }
signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    std::string image_;
    bool pressable_ = false;
};

// Makes assistive tools (through Qt's accessibility) see pressable labels and pictures as
// push buttons with the press action. Safe to call more than once.
void installAccessibleWidgets();

// A status bar: panels of fixed widths (the last takes the rest), or one simple text.
class StatusBarWidget : public QFrame {
    Q_OBJECT
public:
    explicit StatusBarWidget(QWidget* parent);
    void setPanels(const std::vector<std::pair<QString, int>>& panels);
    void setSimpleText(const QString& text);
    // The texts shown, for tests: the simple text alone, or one per panel.
    QStringList texts() const;

private:
    std::vector<QLabel*> labels_;
    QLabel* simple_;
};

} // namespace qtui
