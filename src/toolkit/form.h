#pragma once
// A form: a window of the system with its named controls and its events.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"
#include "toolkit/listeners.h"

namespace toolkit {

class Timer;
class PopupMenu;

enum class BorderStyle { Sizeable, Dialog, Single, None };
enum class FormPosition { Designed, ScreenCenter };
enum CloseAction { caNone, caHide, caFree, caMinimize };

enum class FormProperty { Caption, Bounds, Visible, ModalResult, Style, Color, ActiveControl };

// Virtual-key codes the forms use.
enum Key : int { VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_ESCAPE = 27, VK_SPACE = 32, VK_DELETE = 46, VK_F5 = 116 };

class Form {
public:
    using Listener = ListenerList<Form&, FormProperty>::Listener;

    // `name` is the form's class name ("TfrmCleaning"); front ends find layouts by it.
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& c);
    // Outer bounds in screen co-ordinates; the client area is clientWidth x clientHeight.
    const Rect& bounds() const { return bounds_; }
    void setBounds(const Rect& r);
    int clientWidth() const { return clientWidth_; }
    int clientHeight() const { return clientHeight_; }
    void setClientSize(int w, int h);
    BorderStyle borderStyle = BorderStyle::Sizeable;
    // The title bar's system menu and its buttons (the close box among them).
    bool systemMenu = true;
    FormPosition position = FormPosition::Designed;
    bool maximized = false;
    std::uint32_t color() const { return color_; }
    void setColor(std::uint32_t c);
    bool keyPreview = false;
    // The menu bar: its items are the menus, theirs the commands.
    PopupMenu* mainMenu = nullptr;
    // The control with the keyboard focus when the window is active; nullptr: the front end's choice.
    Control* activeControl() const { return activeControl_; }
    void setActiveControl(Control* c);

    bool visible() const { return visible_; }
    // Showing fires onShow each time the form becomes visible.
    void setVisible(bool b);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

    // Modal run through the installed toolkit; returns the modal result.
    int showModal();
    bool inModalRun() const { return modal_; }
    int modalResult() const { return modalResult_; }
    // A non-zero result ends a modal run.
    void setModalResult(int r);

    // Every way of closing comes here: asks onCloseQuery, runs onClose, then ends the
    // modal run (result mrCancel unless one is set) or hides the form.
    void close();

    // Keys: with keyPreview the form sees every key before its controls do. Returns true
    // when the key was consumed (set to 0 by a handler).
    bool keyDown(int& key);
    // A private window message with two parameters.
    void message(unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
        if (onMessage) onMessage(msg, wParam, lParam);
    }

    std::function<void()> onShow;
    std::function<void(bool& canClose)> onCloseQuery;
    std::function<void(CloseAction& action)> onClose;
    std::function<void(int& key)> onKeyDown;
    std::function<void(unsigned msg, std::intptr_t wParam, std::intptr_t lParam)> onMessage;

    const std::vector<Control*>& controls() const { return controls_; }
    Control* findControl(const std::string& name) const;
    const std::vector<Timer*>& timers() const { return timers_; }

    int subscribe(Listener l);
    void unsubscribe(int id);

    // The live forms of the program, oldest first, and a lookup by caption.
    static const std::vector<Form*>& all();
    static Form* findByCaption(const std::string& caption);

    // Toolkit use.
    void setInModalRun(bool b) { modal_ = b; }
    void attach(Control* c) { controls_.push_back(c); }
    void detach(Control* c);
    void attach(Timer* t) { timers_.push_back(t); }
    void detach(Timer* t);

private:
    void changed(FormProperty p);

    std::string name_, caption_;
    Rect bounds_{0, 0, 400, 300};
    int clientWidth_ = 400, clientHeight_ = 300;
    std::uint32_t color_ = Color::None;
    bool visible_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    Control* activeControl_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    ListenerList<Form&, FormProperty> listeners_;
};

} // namespace toolkit
