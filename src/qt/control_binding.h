#pragma once
// The binding of one control model to its widget. The widget follows every property the
// model announces; the user's actions on the widget run the model's events.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "toolkit/control.h"

namespace qtui {

class ControlBinding : public QObject {
    Q_OBJECT
public:
    ControlBinding(toolkit::Control& c, QWidget* widget);
    // Stops listening; the widget is hidden and goes with the next turn of the event loop.
    ~ControlBinding() override;

    toolkit::Control& control() const { return control_; }
    QWidget* widget() const { return widget_; }
    // Brings the widget up to the model's current state.
    void refresh();
    // The control is being destroyed: its own parts are gone already, only the base remains.
    void markDying() { dying_ = true; }

protected:
    // Kind-specific properties; the common ones (hint, enabled, visible, bounds, cursor,
    // font, colour) are applied by the base.
    virtual void apply(toolkit::Property) {}
    void applyCommon(toolkit::Property p);

    toolkit::Control& control_;
    QPointer<QWidget> widget_;
    bool dying_ = false;

private:
    int listener_;
};

// Makes the widget for a control inside `parent` and binds the two; nullptr for a control
// of a kind with no widget here (non-visual kinds, and custom ones nobody registered).
std::unique_ptr<ControlBinding> bindControl(toolkit::Control& c, QWidget* parent);

// A widget for a control that the generic kinds do not cover (charts, trees of later
// windows), found by the form's and the control's names.
using CustomFactory = std::function<std::unique_ptr<ControlBinding>(toolkit::Control&, QWidget* parent)>;
void registerCustomWidget(const std::string& formName, const std::string& controlName, CustomFactory f);

} // namespace qtui
