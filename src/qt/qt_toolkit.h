#pragma once
// The toolkit for real windows: every form is shown in a top-level widget of its own
// (FormWindow), modal runs are local event loops, and timers, posted messages and calls
// from worker threads go through Qt's event loop.
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QEventLoop>
#include <QTimer>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "toolkit/toolkit.h"

namespace qtui {

class FormWindow;

class QtToolkit : public QObject, public toolkit::Toolkit {
    Q_OBJECT
public:
    // Needs a QApplication; installs itself, and the destructor restores the previous toolkit.
    QtToolkit();
    ~QtToolkit() override;

    // The window of a form, made on first use.
    FormWindow& windowOf(toolkit::Form& form);
    FormWindow* findWindow(const toolkit::Form& form) const;

    void run(toolkit::Form& mainForm) override;
    int showModal(toolkit::Form& form) override;
    void processMessages() override;
    int messageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool inputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    void setCursor(toolkit::Cursor c) override;
    toolkit::Cursor cursor() const override { return cursor_; }
    toolkit::Point cursorPos() override;
    toolkit::Point screenToClient(const toolkit::Form& form, toolkit::Point screen) override;
    void setApplicationTitle(const std::string& title) override;
    void runOnMainThread(const std::function<void()>& fn) override;
    void postMessage(toolkit::Form& form, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) override;
    void animateShow(toolkit::Form& form, int ms) override;
    void popupMenu(toolkit::PopupMenu& menu, toolkit::Point screen) override;
    void timerChanged(toolkit::Timer& t) override;
    void timerDestroyed(toolkit::Timer& t) override;
    void formDestroyed(toolkit::Form& f) override;
    void formVisibilityChanged(toolkit::Form& f) override;
    void formClosed(toolkit::Form& f) override;
    void controlDestroyed(toolkit::Control& c) override;
    bool hasNotificationArea() override;
    void setNotificationIcon(toolkit::Form& form, unsigned message, bool shown) override;

    // The Qt timer behind a toolkit timer, while it has one (for tests).
    const QTimer* qtTimer(const toolkit::Timer& t) const;

    // Charts go to the default printer, or, once a file is named here, into that PDF file
    // instead (tests never reach a real printer).
    void setPrintToFile(const std::string& pdfFile) { printToFile_ = pdfFile; }
    void printChart(toolkit::Chart& chart) override;
    void saveChart(toolkit::Chart& chart, const std::string& fileName) override;
    bool fileDialog(toolkit::OpenDialog& dialog, std::string& fileName) override;
    // Answers the next file dialogs instead of showing them (a native path; empty cancels).
    std::deque<std::string> fileDialogAnswers;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Posted {
        toolkit::Form* form;
        unsigned msg;
        std::intptr_t wParam, lParam;
    };
    void deliverPosted();
    void showHint();

    Toolkit* previous_;
    QEventLoop* mainLoop_ = nullptr;
    bool mainClosed_ = false;
    std::map<const toolkit::Form*, std::unique_ptr<FormWindow>> windows_;
    std::map<const toolkit::Timer*, QTimer*> timers_;
    std::map<const toolkit::Form*, std::unique_ptr<QSystemTrayIcon>> trayIcons_;
    std::mutex postedMutex_;
    std::deque<Posted> posted_;
    toolkit::Cursor cursor_ = toolkit::Cursor::Default;
    std::string printToFile_;
    // Hints wait for the pause of the form they belong to.
    QTimer hintTimer_;
    QPointer<QWidget> hintTarget_;
};

} // namespace qtui
