#pragma once
// A toolkit without a window system, for tests: modal runs follow a script, message boxes
// are recorded and answered from a script, queued user actions arrive through
// processMessages(), and timers fire when the test lets time pass.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/chart.h"
#include "toolkit/file_dialog.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/timer.h"
#include "toolkit/toolkit.h"

namespace toolkit {

class HeadlessToolkit : public Toolkit {
public:
    struct MessageBoxCall {
        std::string text, caption;
        unsigned flags = 0;
    };
    struct PostedMessage {
        Form* form;
        unsigned msg;
        std::intptr_t wParam, lParam;
    };

    // Installs itself; the destructor restores the previous toolkit.
    HeadlessToolkit();
    ~HeadlessToolkit() override;

    // Scripts. A form shown modally runs the next script queued for its class name, or
    // `defaultModal`; when the script leaves no modal result the form is closed.
    using Script = std::function<void(Form&)>;
    void onModal(const std::string& formName, Script s) { scripts_[formName].push_back(std::move(s)); }
    Script defaultModal;
    // The message loop's main form runs this (after its onShow), then closes.
    Script mainScript;
    // Names of the forms shown modally, in order.
    std::vector<std::string> modalLog;

    struct PromptCall {
        std::string caption, prompt, initial;
    };
    std::vector<PromptCall> prompts;
    // Texts the next text prompts accept; an empty optional cancels. Without one: cancelled.
    std::deque<std::optional<std::string>> promptAnswers;
    // File dialogs: each records its filter and default extension and takes the next
    // answer (a drive path; an empty one is a cancel); without one it is cancelled.
    struct FileDialogCall {
        std::string filter, defaultExt;
    };
    std::vector<FileDialogCall> fileDialogs;
    std::deque<std::string> fileAnswers;
    // Charts printed and saved: the chart, its margins, and the file's name.
    struct ChartOutput {
        Chart* chart;
        ChartMargins margins;
        std::string fileName; // empty for a print
    };
    std::vector<ChartOutput> chartOutputs;
    // The message a print or save fails with; empty: they succeed.
    std::string chartOutputError;

    std::vector<MessageBoxCall> messageBoxes;
    // Answers for the next message boxes; without one: IDYES for yes/no boxes, else IDOK.
    std::deque<int> answers;

    // A user action delivered by a later processMessages() call (`after` calls later:
    // 0 is the next one). Actions run through the default exception handler.
    void queue(std::function<void()> action, int after = 0);
    int processMessagesCalls = 0;
    // Runs every queued action now, whatever its delay.
    void drainQueue();

    // Lets `ms` of time pass: every enabled timer ticks as often as it is due.
    void advance(int ms);
    // Fires one timer now (if enabled, a tick resets its interval).
    void fire(Timer& t);
    bool isRunning(const Timer& t) const;
    long long now() const { return now_; }

    // Calls handed over by other threads wait until the test's thread delivers them, in
    // processMessages() or here: delivers them until `done` holds, waking for each call and
    // every few milliseconds. False when `limit` passed first (a stuck worker fails the test
    // instead of hanging it).
    bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(60));

    void setCursorPos(Point p) { cursorPos_ = p; }
    std::vector<Cursor> cursorLog;
    std::vector<std::pair<Form*, int>> animations;
    std::vector<std::pair<PopupMenu*, Point>> popups;
    std::vector<std::string> titleLog;
    int restoreTopmostCalls = 0;
    // Whether the desktop has a notification area, and the icons shown there now.
    bool notificationArea = false;
    std::vector<std::pair<Form*, unsigned>> notificationIcons;

    // Toolkit.
    void run(Form& mainForm) override;
    int showModal(Form& form) override;
    void processMessages() override;
    bool fileDialog(OpenDialog& dialog, std::string& fileName) override;
    void printChart(Chart& chart) override;
    void saveChart(Chart& chart, const std::string& fileName) override;
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    void setCursor(Cursor c) override;
    Cursor cursor() const override { return cursor_; }
    Point cursorPos() override { return cursorPos_; }
    Point screenToClient(const Form& form, Point screen) override;
    void setApplicationTitle(const std::string& title) override;
    void restoreTopmost() override { ++restoreTopmostCalls; }
    bool hasNotificationArea() override { return notificationArea; }
    void setNotificationIcon(Form& form, unsigned message, bool shown) override;
    void runOnMainThread(const std::function<void()>& fn) override;
    void postMessage(Form& form, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) override;
    void animateShow(Form& form, int ms) override;
    void popupMenu(PopupMenu& menu, Point screen) override;
    void timerChanged(Timer& t) override;
    void timerDestroyed(Timer& t) override;
    void formDestroyed(Form& f) override;

private:
    struct CrossCall {
        const std::function<void()>* fn;
        std::exception_ptr error;
        bool finished = false;
    };
    void deliverCalls();

    struct Queued {
        std::function<void()> action;
        int after;
    };
    Toolkit* previous_;
    std::map<std::string, std::deque<Script>> scripts_;
    std::deque<Queued> queue_;
    std::deque<PostedMessage> posted_;
    std::map<Timer*, long long> due_;
    long long now_ = 0;
    Cursor cursor_ = Cursor::Default;
    Point cursorPos_{-10000, -10000};
    std::thread::id mainThread_ = std::this_thread::get_id();
    std::mutex callsMutex_;
    std::condition_variable callsChanged_;
    std::deque<CrossCall*> calls_;
    bool closing_ = false;
};

} // namespace toolkit
