#pragma once
// What the forms ask of the window system. One toolkit is installed for the process:
// the Qt toolkit in the program, the headless toolkit in tests.
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "toolkit/control.h"

namespace toolkit {

class Chart;
class Form;
class OpenDialog;
class PopupMenu;
class Timer;

// Message box buttons, icons and answers, numbered as the system numbers them.
enum MessageBoxFlag : unsigned {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40, MB_DEFBUTTON2 = 0x100,
};
enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class Toolkit {
public:
    virtual ~Toolkit() = default;

    // The installed toolkit (nullptr before one is installed).
    static Toolkit* instance();
    static void install(Toolkit* t);
    // The installed toolkit; throws when there is none.
    static Toolkit& current();

    // The message loop: shows the main form and returns when it closes.
    virtual void run(Form& mainForm) = 0;
    // Shows a form modally and returns its modal result; the form is hidden afterwards.
    virtual int showModal(Form& form) = 0;
    // Lets the window system deliver pending messages (user actions, repaints, timers).
    virtual void processMessages() = 0;
    // Returns the answer (IDOK, IDYES, ...).
    virtual int messageBox(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // A text prompt with a caption, a label and an edit holding `value` at first. True with
    // the text the user accepted in `value`; false when cancelled, `value` left as it was.
    virtual bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;

    // The cursor of the whole application.
    virtual void setCursor(Cursor c) = 0;
    virtual Cursor cursor() const = 0;
    // Mouse position in screen co-ordinates, and its conversion to a form's client area.
    virtual Point cursorPos() = 0;
    virtual Point screenToClient(const Form& form, Point screen) = 0;

    // The application title (task-bar text) and help file name.
    virtual void setApplicationTitle(const std::string& title) { title_ = title; }
    const std::string& applicationTitle() const { return title_; }
    void setHelpFile(const std::string& f) { helpFile_ = f; }
    const std::string& helpFile() const { return helpFile_; }

    // The message loop's main form (set when run() starts; nullptr before).
    Form* mainForm() const { return mainForm_; }
    void setMainForm(Form* f) { mainForm_ = f; }
    // The application's own task-bar entry, hidden while the program sits in the
    // notification area, and the restoring of its topmost windows afterwards.
    virtual void setApplicationHidden(bool hidden) { applicationHidden_ = hidden; }
    bool applicationHidden() const { return applicationHidden_; }
    virtual void restoreTopmost() {}

    // The desktop's notification area: whether there is one, and an icon there for `form`
    // that sends it `message` with the mouse message (513 left button, 516 right button)
    // as the second parameter. Removing an icon that is not shown does nothing.
    virtual bool hasNotificationArea() { return false; }
    virtual void setNotificationIcon(Form&, unsigned /*message*/, bool /*shown*/) {}

    // Runs `fn` on the user-interface thread and waits until it has run.
    virtual void runOnMainThread(const std::function<void()>& fn) = 0;
    // Queues a private message for a form; delivered by the message loop.
    virtual void postMessage(Form& form, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) = 0;

    // Shows a form with a blend animation of `ms` milliseconds, then repaints it.
    virtual void animateShow(Form& form, int ms) = 0;
    virtual void popupMenu(PopupMenu& menu, Point screen) = 0;

    // Timers tell the toolkit when they start, stop or change.
    virtual void timerChanged(Timer& t) = 0;
    virtual void timerDestroyed(Timer& t) = 0;
    // Forms tell the toolkit when they go away, and when they are shown or hidden (before
    // their show event runs), so a front end can show a window for a form however it is shown.
    virtual void formDestroyed(Form&) {}
    virtual void formVisibilityChanged(Form&) {}
    // A form was closed (its close was not refused): closing the main form ends the message
    // loop, while hiding it does not (the program sits in the notification area meanwhile).
    virtual void formClosed(Form&) {}
    // Controls tell the toolkit when they go away, so no view outlives its control.
    virtual void controlDestroyed(Control&) {}

    // The file dialog: true when the user chose a name, which goes to `fileName` (it holds
    // the name to start with).
    virtual bool fileDialog(OpenDialog& dialog, std::string& fileName);
    // A chart on the default printer, within its print margins, and as a picture file in
    // the format its name asks for; failures throw, with the message to show.
    virtual void printChart(Chart& chart);
    virtual void saveChart(Chart& chart, const std::string& fileName);

    // The default exception handler: shows the error's message in a message box.
    virtual void handleException(const std::exception& e);

private:
    std::string title_, helpFile_;
    Form* mainForm_ = nullptr;
    bool applicationHidden_ = false;
};

// Runs an event handler as the message loop does: an error that escapes it reaches the
// installed toolkit's default handler and the program goes on.
void dispatch(const std::function<void()>& fn);

// The application's hourglass for as long as it lives, then the default cursor, also when
// the work in between ends with an error.
class HourglassCursor {
public:
    HourglassCursor() { Toolkit::current().setCursor(Cursor::Hourglass); }
    ~HourglassCursor() {
        if (auto* tk = Toolkit::instance())
            tk->setCursor(Cursor::Default);
    }
    HourglassCursor(const HourglassCursor&) = delete;
    HourglassCursor& operator=(const HourglassCursor&) = delete;
};

} // namespace toolkit
