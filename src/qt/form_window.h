#pragma once
// The window of one form: a top-level widget whose children carry the control names as
// object names. Each control model is bound to its widget both ways: a change of the model
// updates the widget, and what the user does to the widget reaches the model's events.
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/form.h"

class QKeyEvent;

namespace qtui {

class ControlBinding;
class QtToolkit;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(toolkit::Form& form, QtToolkit& toolkit);
    ~FormWindow() override;

    toolkit::Form* form() const { return form_; }
    // The widget bound to a control, or nullptr.
    QWidget* widgetFor(const toolkit::Control& c) const;
    // The names of the visual controls that have no widget: each is a fault of the layout.
    std::vector<std::string> unboundControls() const;

    // Shows or hides the window as the form says.
    void syncVisible();
    // The pause before a hint shows: the form's balloon-hint setting, else the system's 500 ms.
    int hintPause() const;
    // Key preview, then the default and cancel buttons; true when the key was consumed.
    bool previewKey(QKeyEvent& e);
    // A modal window blocks the others while it is up.
    void setModal(bool modal);

    // The toolkit tells the window when its models go.
    void controlGone(toolkit::Control& c);
    void detachFromForm();

protected:
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void buildMenuBar();
    QPointer<QWidget> menuBar_;
    void bindControls();
    void applyCaption();
    void applyGeometry();
    void applyColor();
    void applyActiveControl();
    void place();

    toolkit::Form* form_;
    QtToolkit& toolkit_;
    int listener_ = 0;
    bool placed_ = false;
    bool moving_ = false;
    std::map<const toolkit::Control*, std::unique_ptr<ControlBinding>> bindings_;
    std::set<const toolkit::Control*> shortcuts_; // menu items whose shortcut is in place
};

} // namespace qtui
