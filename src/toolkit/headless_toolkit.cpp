#include "toolkit/headless_toolkit.h"

#include <algorithm>
#include <stdexcept>

namespace toolkit {

HeadlessToolkit::HeadlessToolkit() : previous_(Toolkit::instance()) { Toolkit::install(this); }

HeadlessToolkit::~HeadlessToolkit() {
    // A worker still waiting goes on without its call, as a thread does whose window is gone.
    {
        std::lock_guard lock(callsMutex_);
        closing_ = true;
        for (CrossCall* c : calls_)
            c->finished = true;
        calls_.clear();
    }
    callsChanged_.notify_all();
    Toolkit::install(previous_);
}

void HeadlessToolkit::runOnMainThread(const std::function<void()>& fn) {
    if (std::this_thread::get_id() == mainThread_) {
        fn();
        return;
    }
    CrossCall call{&fn, nullptr, false};
    std::unique_lock lock(callsMutex_);
    if (closing_)
        return;
    calls_.push_back(&call);
    callsChanged_.notify_all();
    callsChanged_.wait(lock, [&] { return call.finished; });
    if (call.error)
        std::rethrow_exception(call.error);
}

void HeadlessToolkit::deliverCalls() {
    for (;;) {
        CrossCall* call;
        {
            std::lock_guard lock(callsMutex_);
            if (calls_.empty())
                return;
            call = calls_.front();
            calls_.pop_front();
        }
        try {
            (*call->fn)();
        } catch (...) {
            call->error = std::current_exception();
        }
        {
            std::lock_guard lock(callsMutex_);
            call->finished = true;
        }
        callsChanged_.notify_all();
    }
}

bool HeadlessToolkit::pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        deliverCalls();
        if (done())
            return true;
        std::unique_lock lock(callsMutex_);
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        callsChanged_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !calls_.empty(); });
    }
}

void HeadlessToolkit::queue(std::function<void()> action, int after) {
    queue_.push_back({std::move(action), after});
}

void HeadlessToolkit::processMessages() {
    ++processMessagesCalls;
    deliverCalls();
    // Actions queued while we deliver wait for the next call.
    std::deque<Queued> now;
    std::deque<Queued> later;
    for (auto& q : queue_) {
        if (q.after <= 0)
            now.push_back(std::move(q));
        else
            later.push_back({std::move(q.action), q.after - 1});
    }
    queue_ = std::move(later);
    for (auto& q : now)
        dispatch(q.action);
    while (!posted_.empty()) {
        PostedMessage m = posted_.front();
        posted_.pop_front();
        if (std::find(Form::all().begin(), Form::all().end(), m.form) != Form::all().end())
            dispatch([&] { m.form->message(m.msg, m.wParam, m.lParam); });
    }
}

void HeadlessToolkit::drainQueue() {
    while (!queue_.empty()) {
        for (auto& q : queue_)
            q.after = 0;
        processMessages();
    }
}

bool HeadlessToolkit::fileDialog(OpenDialog& dialog, std::string& fileName) {
    fileDialogs.push_back({dialog.filter, dialog.defaultExt});
    if (fileAnswers.empty())
        return false;
    std::string answer = fileAnswers.front();
    fileAnswers.pop_front();
    if (answer.empty())
        return false;
    fileName = answer;
    return true;
}

void HeadlessToolkit::printChart(Chart& chart) {
    if (!chartOutputError.empty())
        throw std::runtime_error(chartOutputError);
    chartOutputs.push_back({&chart, chart.printMargins, {}});
}

void HeadlessToolkit::saveChart(Chart& chart, const std::string& fileName) {
    if (!chartOutputError.empty())
        throw std::runtime_error(chartOutputError);
    chartOutputs.push_back({&chart, chart.printMargins, fileName});
}

void HeadlessToolkit::run(Form& mainForm) {
    setMainForm(&mainForm);
    dispatch([&] { mainForm.show(); });
    if (mainScript)
        mainScript(mainForm);
    if (mainForm.visible())
        dispatch([&] { mainForm.close(); });
}

int HeadlessToolkit::showModal(Form& form) {
    modalLog.push_back(form.name());
    form.setModalResult(mrNone);
    form.setInModalRun(true);
    struct Reset {
        Form& f;
        ~Reset() {
            f.setInModalRun(false);
            f.setVisible(false);
        }
    } reset{form};
    form.setVisible(true);
    Script s;
    auto it = scripts_.find(form.name());
    if (it != scripts_.end() && !it->second.empty()) {
        s = std::move(it->second.front());
        it->second.pop_front();
    } else {
        s = defaultModal;
    }
    if (s)
        s(form);
    if (form.modalResult() == mrNone)
        form.close();
    if (form.modalResult() == mrNone) // the close was refused: end the run anyway
        form.setModalResult(mrCancel);
    return form.modalResult();
}

bool HeadlessToolkit::inputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    prompts.push_back({caption, prompt, value});
    if (promptAnswers.empty())
        return false;
    std::optional<std::string> a = std::move(promptAnswers.front());
    promptAnswers.pop_front();
    if (!a)
        return false;
    value = *a;
    return true;
}

int HeadlessToolkit::messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    messageBoxes.push_back({text, caption, flags});
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    unsigned buttons = flags & 0xF;
    return (buttons == MB_YESNO || buttons == MB_YESNOCANCEL) ? IDYES : IDOK;
}

void HeadlessToolkit::setCursor(Cursor c) {
    cursor_ = c;
    cursorLog.push_back(c);
}

Point HeadlessToolkit::screenToClient(const Form& form, Point screen) {
    return {screen.x - form.bounds().left, screen.y - form.bounds().top};
}

void HeadlessToolkit::setApplicationTitle(const std::string& title) {
    Toolkit::setApplicationTitle(title);
    titleLog.push_back(title);
}

void HeadlessToolkit::postMessage(Form& form, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
    posted_.push_back({&form, msg, wParam, lParam});
}

void HeadlessToolkit::animateShow(Form& form, int ms) {
    animations.emplace_back(&form, ms);
    form.show();
}

void HeadlessToolkit::popupMenu(PopupMenu& menu, Point screen) { popups.emplace_back(&menu, screen); }

void HeadlessToolkit::timerChanged(Timer& t) {
    if (t.enabled() && t.interval() > 0)
        due_[&t] = now_ + t.interval();
    else
        due_.erase(&t);
}

void HeadlessToolkit::timerDestroyed(Timer& t) { due_.erase(&t); }

void HeadlessToolkit::formDestroyed(Form& f) {
    std::erase_if(posted_, [&](const PostedMessage& m) { return m.form == &f; });
}

bool HeadlessToolkit::isRunning(const Timer& t) const { return due_.count(const_cast<Timer*>(&t)) != 0; }

void HeadlessToolkit::fire(Timer& t) {
    if (!t.enabled())
        return;
    due_[&t] = now_ + t.interval();
    dispatch([&] { t.tick(); });
}

void HeadlessToolkit::advance(int ms) {
    long long end = now_ + ms;
    for (;;) {
        // The timer due first ticks first; ties in the order they were scheduled.
        auto next = std::min_element(due_.begin(), due_.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
        if (next == due_.end() || next->second > end)
            break;
        Timer* t = next->first;
        now_ = next->second;
        next->second = now_ + std::max(1, t->interval());
        dispatch([&] { t->tick(); });
    }
    now_ = end;
}

void HeadlessToolkit::setNotificationIcon(Form& form, unsigned message, bool shown) {
    std::erase_if(notificationIcons, [&](const auto& icon) { return icon.first == &form; });
    if (shown && notificationArea)
        notificationIcons.emplace_back(&form, message);
}

} // namespace toolkit
