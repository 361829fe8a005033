#include "qt/qt_toolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHelpEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QMessageBox>
#include <QThread>
#include <QToolTip>
#include <QVariantAnimation>
#include <QWindow>

#include "qt/form_window.h"
#include "qt/qt_text.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/timer.h"

namespace qtui {

using namespace toolkit;

QtToolkit::QtToolkit() : previous_(Toolkit::instance()) {
    // The message loop ends with the main form, not with the last window: the splash is
    // gone before the start window shows.
    QApplication::setQuitOnLastWindowClosed(false);
    qApp->installEventFilter(this);
    hintTimer_.setSingleShot(true);
    connect(&hintTimer_, &QTimer::timeout, this, &QtToolkit::showHint);
    Toolkit::install(this);
}

QtToolkit::~QtToolkit() {
    Toolkit::install(previous_);
    qApp->removeEventFilter(this);
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    windows_.clear();
    for (auto& [t, q] : timers_)
        delete q;
    // The windows of forms that went after the message loop ended.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

FormWindow& QtToolkit::windowOf(Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end())
        it = windows_.emplace(&form, std::make_unique<FormWindow>(form, *this)).first;
    return *it->second;
}

FormWindow* QtToolkit::findWindow(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second.get();
}

void QtToolkit::formVisibilityChanged(Form& f) {
    // A form shown for the first time gets its window here, however it was shown.
    if (f.visible())
        windowOf(f).syncVisible();
    else if (FormWindow* w = findWindow(f))
        w->syncVisible();
}

bool QtToolkit::hasNotificationArea() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtToolkit::setNotificationIcon(Form& form, unsigned message, bool shown) {
    if (!shown) {
        trayIcons_.erase(&form);
        return;
    }
    if (trayIcons_.count(&form) || !hasNotificationArea())
        return;
    auto icon = std::make_unique<QSystemTrayIcon>(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon));
    icon->setToolTip(qs(form.caption()));
    // The icon speaks to its window as a notification icon does: a private message with the
    // mouse message in its second parameter.
    connect(icon.get(), &QSystemTrayIcon::activated, this, [this, f = &form, message](QSystemTrayIcon::ActivationReason r) {
        if (!trayIcons_.count(f))
            return;
        std::intptr_t mouse = r == QSystemTrayIcon::Context ? 516 : r == QSystemTrayIcon::Trigger ? 513 : 0;
        if (mouse)
            dispatch([f, message, mouse] { f->message(message, 0, mouse); });
    });
    icon->show();
    trayIcons_[&form] = std::move(icon);
}

void QtToolkit::formDestroyed(Form& f) {
    trayIcons_.erase(&f);
    {
        std::lock_guard lock(postedMutex_);
        std::erase_if(posted_, [&](const Posted& p) { return p.form == &f; });
    }
    auto it = windows_.find(&f);
    if (it == windows_.end())
        return;
    // The form may go from inside one of its own window's events: the widget goes later.
    std::unique_ptr<FormWindow> w = std::move(it->second);
    windows_.erase(it);
    w->detachFromForm();
    w->hide();
    w.release()->deleteLater();
}

void QtToolkit::controlDestroyed(Control& c) {
    if (c.owner())
        if (FormWindow* w = findWindow(*c.owner()))
            w->controlGone(c);
}

void QtToolkit::run(Form& mainForm) {
    setMainForm(&mainForm);
    QEventLoop loop;
    mainLoop_ = &loop;
    mainClosed_ = false;
    dispatch([&] { mainForm.show(); });
    if (mainForm.visible() && !mainClosed_)
        loop.exec();
    mainLoop_ = nullptr;
}

void QtToolkit::formClosed(Form& f) {
    // Closing the main form ends the message loop; hiding it leaves the program running.
    if (&f != mainForm())
        return;
    mainClosed_ = true;
    if (mainLoop_)
        mainLoop_->quit();
}

int QtToolkit::showModal(Form& form) {
    FormWindow& window = windowOf(form);
    form.setModalResult(mrNone);
    form.setInModalRun(true);
    QEventLoop loop;
    int sub = form.subscribe([&](Form& f, FormProperty p) {
        if (p == FormProperty::ModalResult && f.modalResult() != mrNone)
            loop.quit();
        // Hidden by code in the middle of its run: the run ends as a cancel would.
        if (p == FormProperty::Visible && !f.visible() && f.inModalRun()) {
            if (f.modalResult() == mrNone)
                f.setModalResult(mrCancel);
            loop.quit();
        }
    });
    struct Reset {
        Form& f;
        int sub;
        ~Reset() {
            f.unsubscribe(sub);
            f.setInModalRun(false);
            f.setVisible(false);
        }
    } reset{form, sub};
    // The window that opened it stays behind it: window managers keep a transient window
    // above its parent.
    for (auto& [f, w] : windows_)
        if (w.get() != &window && w.get() == QApplication::activeWindow() && w->isVisible()) {
            window.winId();
            w->winId();
            window.windowHandle()->setTransientParent(w->windowHandle());
        }
    window.setModal(true);
    form.setVisible(true);
    if (form.modalResult() == mrNone)
        loop.exec(QEventLoop::DialogExec);
    if (FormWindow* w = findWindow(form))
        w->setModal(false);
    return form.modalResult();
}

void QtToolkit::processMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtToolkit::inputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    QWidget* over = nullptr;
    for (auto& [form, window] : windows_)
        if (window.get() == QApplication::activeWindow() && window->isVisible())
            over = window.get();
    QInputDialog dialog(over);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(qs(caption));
    dialog.setLabelText(qs(prompt));
    dialog.setTextValue(qs(value));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = us(dialog.textValue());
    return true;
}

int QtToolkit::messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    using SB = QMessageBox::StandardButton;
    struct Buttons {
        std::vector<SB> buttons;
        SB escape; // NoButton: the box cannot be dismissed but by a button
    };
    static const Buttons table[] = {
        {{SB::Ok}, SB::Ok},
        {{SB::Ok, SB::Cancel}, SB::Cancel},
        {{SB::Abort, SB::Retry, SB::Ignore}, SB::NoButton},
        {{SB::Yes, SB::No, SB::Cancel}, SB::Cancel},
        {{SB::Yes, SB::No}, SB::NoButton},
        {{SB::Retry, SB::Cancel}, SB::Cancel},
    };
    unsigned kind = flags & 0xF;
    const Buttons& b = table[kind < std::size(table) ? kind : 0];

    // Over the active window of a live form; a window whose form has gone is deleted soon
    // and must not take the box with it.
    QWidget* over = nullptr;
    for (auto& [form, window] : windows_)
        if (window.get() == QApplication::activeWindow() && window->isVisible())
            over = window.get();
    QMessageBox box(over);
    box.setWindowTitle(qs(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(qs(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    for (SB s : b.buttons)
        box.addButton(s);
    // The second and third buttons can be the default (0x100, 0x200), as the system numbers them.
    std::size_t def = (flags >> 8) & 0xF;
    box.setDefaultButton(b.buttons[def < b.buttons.size() ? def : 0]);
    if (b.escape != SB::NoButton)
        box.setEscapeButton(b.escape);
    else
        box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    SB answer = clicked ? box.standardButton(clicked) : b.escape;
    switch (answer) {
    case SB::Ok: return IDOK;
    case SB::Cancel: return IDCANCEL;
    case SB::Abort: return IDABORT;
    case SB::Retry: return IDRETRY;
    case SB::Ignore: return IDIGNORE;
    case SB::Yes: return IDYES;
    case SB::No: return IDNO;
    default: return IDCANCEL;
    }
}

void QtToolkit::setCursor(Cursor c) {
    cursor_ = c;
    if (c == Cursor::Default) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        return;
    }
    QCursor shape(c == Cursor::Hourglass ? Qt::WaitCursor : Qt::PointingHandCursor);
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(shape);
    else
        QApplication::setOverrideCursor(shape);
}

Point QtToolkit::cursorPos() {
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

Point QtToolkit::screenToClient(const Form& form, Point screen) {
    if (FormWindow* w = findWindow(form)) {
        QPoint p = w->mapFromGlobal(QPoint(screen.x, screen.y));
        return {p.x(), p.y()};
    }
    return {screen.x - form.bounds().left, screen.y - form.bounds().top};
}

void QtToolkit::setApplicationTitle(const std::string& title) {
    // Kept for the message boxes that name the program. Qt is not told: its display name
    // would be appended to every caption, and its application name would title every
    // untitled window (hints, menus) like the program's own message boxes.
    Toolkit::setApplicationTitle(title);
}

void QtToolkit::runOnMainThread(const std::function<void()>& fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        this,
        [&] {
            try {
                fn();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
}

void QtToolkit::postMessage(Form& form, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back({&form, msg, wParam, lParam});
    }
    QMetaObject::invokeMethod(this, &QtToolkit::deliverPosted, Qt::QueuedConnection);
}

void QtToolkit::deliverPosted() {
    Posted p;
    {
        std::lock_guard lock(postedMutex_);
        if (posted_.empty())
            return; // its form went before it could be delivered
        p = posted_.front();
        posted_.pop_front();
    }
    dispatch([&] { p.form->message(p.msg, p.wParam, p.lParam); });
}

void QtToolkit::animateShow(Form& form, int ms) {
    FormWindow& w = windowOf(form);
    w.setWindowOpacity(0.0);
    form.show();
    if (ms > 0) {
        // The blend is waited for, as the system's animation is; no user input meanwhile.
        QVariantAnimation blend;
        blend.setStartValue(0.0);
        blend.setEndValue(1.0);
        blend.setDuration(ms);
        QPointer<FormWindow> target(&w);
        connect(&blend, &QVariantAnimation::valueChanged, &w, [target](const QVariant& v) {
            if (target)
                target->setWindowOpacity(v.toDouble());
        });
        QEventLoop loop;
        connect(&blend, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
        blend.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (FormWindow* still = findWindow(form)) {
        still->setWindowOpacity(1.0);
        still->repaint();
    }
}

namespace {
void fillMenu(QMenu& menu, const std::vector<MenuItem*>& items, std::map<QAction*, MenuItem*>& actions) {
    for (MenuItem* item : items) {
        if (!item->visible())
            continue;
        if (item->isSeparator()) {
            menu.addSeparator();
            continue;
        }
        if (!item->items.empty()) {
            QMenu* sub = menu.addMenu(qs(item->caption()));
            sub->setEnabled(item->enabled());
            fillMenu(*sub, item->items, actions);
            continue;
        }
        QAction* a = menu.addAction(qs(item->caption()));
        a->setEnabled(item->enabled());
        a->setCheckable(item->checked);
        a->setChecked(item->checked);
        if (!item->shortcut.empty())
            a->setShortcut(QKeySequence(qs(item->shortcut)));
        actions[a] = item;
    }
}
} // namespace

void QtToolkit::popupMenu(PopupMenu& menu, Point screen) {
    QMenu qmenu;
    std::map<QAction*, MenuItem*> actions;
    fillMenu(qmenu, menu.items, actions);
    if (actions.empty() && qmenu.isEmpty())
        return;
    QAction* chosen = qmenu.exec(QPoint(screen.x, screen.y));
    auto it = actions.find(chosen);
    if (it != actions.end())
        dispatch([item = it->second] { item->click(); });
}

void QtToolkit::timerChanged(Timer& t) {
    QTimer*& q = timers_[&t];
    if (!q) {
        q = new QTimer(this);
        connect(q, &QTimer::timeout, this, [this, key = &t] {
            // Looked up again: the handler of an earlier tick may have destroyed it.
            auto it = timers_.find(key);
            if (it != timers_.end())
                dispatch([key] { const_cast<Timer*>(key)->tick(); });
        });
    }
    // Enabling or changing the interval starts a fresh interval.
    if (t.enabled() && t.interval() > 0)
        q->start(t.interval());
    else
        q->stop();
}

void QtToolkit::timerDestroyed(Timer& t) {
    auto it = timers_.find(&t);
    if (it == timers_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

const QTimer* QtToolkit::qtTimer(const Timer& t) const {
    auto it = timers_.find(&t);
    return it == timers_.end() ? nullptr : it->second;
}

namespace {
FormWindow* formWindowOf(QObject* o) {
    if (!o || !o->isWidgetType())
        return nullptr;
    return qobject_cast<FormWindow*>(static_cast<QWidget*>(o)->window());
}
} // namespace

bool QtToolkit::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Key events travel up from the focus widget; the form sees each key once, first.
        FormWindow* w = formWindowOf(watched);
        if (!w)
            break;
        QWidget* focus = QApplication::focusWidget();
        bool first = watched == focus || ((!focus || focus->window() != w) && watched == w);
        if (first && w->previewKey(*static_cast<QKeyEvent*>(event)))
            return true;
        break;
    }
    case QEvent::ToolTip:
        // Our own hints, after the form's pause.
        if (formWindowOf(watched))
            return true;
        break;
    case QEvent::Enter: {
        FormWindow* w = formWindowOf(watched);
        if (w && !static_cast<QWidget*>(watched)->toolTip().isEmpty()) {
            hintTarget_ = static_cast<QWidget*>(watched);
            hintTimer_.start(w->hintPause());
        }
        break;
    }
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
        if (watched == hintTarget_.data()) {
            hintTimer_.stop();
            hintTarget_ = nullptr;
            QToolTip::hideText();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void QtToolkit::showHint() {
    if (!hintTarget_ || !hintTarget_->isVisible())
        return;
    QWidget* w = hintTarget_;
    QPoint at = QCursor::pos();
    if (!w->rect().contains(w->mapFromGlobal(at)))
        at = w->mapToGlobal(w->rect().center());
    QToolTip::showText(at, w->toolTip(), w);
}

} // namespace qtui
