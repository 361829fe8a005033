#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QToolTip>
#include <QWindow>
#include <stdexcept>
#include <thread>

#include "qt_app.h"
#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/menu.h"
#include "toolkit/timer.h"

using namespace toolkit;
using qtui::FormWindow;
using qtui::QtToolkit;

namespace {

struct Dialog : Form {
    Dialog() : Form("TDialog"), Btn_Ok(this, "Btn_Ok"), Btn_Cancel(this, "Btn_Cancel") {
        setCaption("对话框");
        Btn_Ok.setCaption("确定");
        Btn_Ok.modalResult = mrOk;
        Btn_Ok.isDefault = true;
        Btn_Ok.setBounds(10, 10, 80, 24);
        Btn_Cancel.setCaption("取消");
        Btn_Cancel.modalResult = mrCancel;
        Btn_Cancel.isCancel = true;
        Btn_Cancel.setBounds(100, 10, 80, 24);
    }
    Button Btn_Ok, Btn_Cancel;
};

struct QtToolkitTest : ::testing::Test {
    QApplication& a = qttest::app();
    QtToolkit tk;
    QWidget* widget(Form& f, const Control& c) { return tk.windowOf(f).widgetFor(c); }
};

} // namespace

TEST_F(QtToolkitTest, ModalRunsEndWithTheModalResultAndLeaveTheFormHidden) {
    Dialog d;
    int shows = 0;
    d.onShow = [&] { ++shows; };
    qttest::soon([&] {
        EXPECT_TRUE(d.inModalRun());
        EXPECT_TRUE(tk.windowOf(d).isVisible());
        EXPECT_TRUE(tk.windowOf(d).isModal());
        QTest::mouseClick(widget(d, d.Btn_Ok), Qt::LeftButton);
    });
    EXPECT_EQ(d.showModal(), mrOk);
    EXPECT_FALSE(d.visible());
    EXPECT_FALSE(tk.windowOf(d).isVisible());
    EXPECT_FALSE(d.inModalRun());

    // The close box closes the form: mrCancel.
    qttest::soon([&] { tk.windowOf(d).close(); });
    EXPECT_EQ(d.showModal(), mrCancel);

    // ESC presses the cancel button, Enter the default one.
    qttest::soon([&] { QTest::keyClick(&tk.windowOf(d), Qt::Key_Escape); });
    EXPECT_EQ(d.showModal(), mrCancel);
    qttest::soon([&] { QTest::keyClick(&tk.windowOf(d), Qt::Key_Return); });
    EXPECT_EQ(d.showModal(), mrOk);
    EXPECT_EQ(shows, 4);
}

TEST_F(QtToolkitTest, EnterOnAButtonWithTheFocusPressesThatButton) {
    Dialog d;
    std::vector<std::string> pressed;
    d.Btn_Ok.onClick = [&] { pressed.push_back("ok"); };
    d.Btn_Cancel.onClick = [&] { pressed.push_back("cancel"); };
    d.show();
    FormWindow& w = tk.windowOf(d);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    widget(d, d.Btn_Cancel)->setFocus();
    QTest::keyClick(widget(d, d.Btn_Cancel), Qt::Key_Return);
    widget(d, d.Btn_Cancel)->clearFocus();
    QTest::keyClick(&w, Qt::Key_Return); // no button has the focus: the default one
    EXPECT_EQ(pressed, (std::vector<std::string>{"cancel", "ok"}));
    d.hide();
}

TEST_F(QtToolkitTest, AModalRunInsideAModalRunReturnsToTheOuterOne) {
    Dialog outer, inner;
    std::vector<std::string> log;
    outer.Btn_Ok.onClick = [&] {
        qttest::soon([&] {
            // The inner window stands above the one that opened it.
            QWindow* handle = tk.windowOf(inner).windowHandle();
            ASSERT_NE(handle, nullptr);
            EXPECT_EQ(handle->transientParent(), tk.windowOf(outer).windowHandle());
            QTest::mouseClick(widget(inner, inner.Btn_Cancel), Qt::LeftButton);
        });
        log.push_back("inner " + std::to_string(inner.showModal()));
    };
    // The outer OK button sets the outer result after its handler: the outer run ends too.
    qttest::soon([&] {
        tk.windowOf(outer).activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&tk.windowOf(outer)));
        QTest::mouseClick(widget(outer, outer.Btn_Ok), Qt::LeftButton);
    });
    log.push_back("outer " + std::to_string(outer.showModal()));
    EXPECT_EQ(log, (std::vector<std::string>{"inner 2", "outer 1"}));
}

TEST_F(QtToolkitTest, TheMessageLoopEndsWhenTheMainFormCloses) {
    Dialog main;
    main.setCaption("WindowsKestrane --- 2008Brisa ");
    bool backAfterHiding = false;
    qttest::soon([&] {
        FormWindow& w = tk.windowOf(main);
        // Titles are the captions exactly: nothing appended.
        EXPECT_EQ(w.windowTitle().toStdString(), "WindowsKestrane --- 2008Brisa ");
        // Hidden (the program in the notification area), the loop goes on.
        main.hide();
        qttest::soon(
            [&] {
                backAfterHiding = true;
                main.show();
                tk.windowOf(main).close();
            },
            50);
    });
    tk.run(main);
    QTest::qWait(100);
    EXPECT_TRUE(backAfterHiding);
    EXPECT_EQ(tk.mainForm(), &main);
    EXPECT_FALSE(main.visible());
}

TEST_F(QtToolkitTest, MessageBoxesShowTheSystemsButtonsAndReturnTheAnswer) {
    using SB = QMessageBox::StandardButton;
    struct Case {
        unsigned flags;
        std::vector<SB> buttons;
        SB press;
        int answer;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {MB_OK, {SB::Ok}, SB::Ok, IDOK, QMessageBox::NoIcon},
        {MB_OKCANCEL | MB_ICONQUESTION, {SB::Ok, SB::Cancel}, SB::Cancel, IDCANCEL, QMessageBox::Question},
        {MB_ABORTRETRYIGNORE | MB_ICONWARNING, {SB::Abort, SB::Retry, SB::Ignore}, SB::Ignore, IDIGNORE, QMessageBox::Warning},
        {MB_YESNOCANCEL | MB_ICONINFORMATION, {SB::Yes, SB::No, SB::Cancel}, SB::No, IDNO, QMessageBox::Information},
        {MB_YESNO | MB_ICONERROR, {SB::Yes, SB::No}, SB::Yes, IDYES, QMessageBox::Critical},
        {MB_RETRYCANCEL, {SB::Retry, SB::Cancel}, SB::Retry, IDRETRY, QMessageBox::NoIcon},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        qttest::soon([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle().toStdString(), "标题");
            EXPECT_EQ(box->text().toStdString(), "<b>文字</b>"); // plain text, shown as it is
            EXPECT_EQ(box->icon(), c.icon);
            std::vector<SB> shown;
            for (QAbstractButton* b : box->buttons())
                shown.push_back(box->standardButton(b));
            std::sort(shown.begin(), shown.end());
            std::vector<SB> want = c.buttons;
            std::sort(want.begin(), want.end());
            EXPECT_EQ(shown, want);
            box->button(c.press)->click();
        });
        EXPECT_EQ(tk.messageBox("<b>文字</b>", "标题", c.flags), c.answer);
    }
    // ESC answers "cancel" where there is one; the default handler shows an error's message.
    qttest::soon([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(tk.messageBox("x", "y", MB_YESNOCANCEL), IDCANCEL);
    tk.setApplicationTitle("WindowsKestrane 2008");
    qttest::soon([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text().toStdString(), "Cannot open file \"a\".");
        EXPECT_EQ(box->windowTitle().toStdString(), "WindowsKestrane 2008");
        EXPECT_EQ(box->icon(), QMessageBox::Critical);
        box->button(QMessageBox::Ok)->click();
    });
    dispatch([] { throw std::runtime_error("Cannot open file \"a\"."); });
}

TEST_F(QtToolkitTest, TimersTickWhileEnabledAndMayGoInTheirOwnTick) {
    Form f("TF");
    auto t = std::make_unique<Timer>(&f, "t");
    int ticks = 0;
    t->setInterval(20);
    t->onTimer = [&] { ++ticks; };
    QTest::qWait(60);
    EXPECT_EQ(ticks, 0); // not enabled
    t->setEnabled(true);
    ASSERT_NE(tk.qtTimer(*t), nullptr);
    EXPECT_TRUE(tk.qtTimer(*t)->isActive());
    EXPECT_EQ(tk.qtTimer(*t)->interval(), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
    t->setEnabled(false);
    EXPECT_FALSE(tk.qtTimer(*t)->isActive());
    int stopped = ticks;
    QTest::qWait(60);
    EXPECT_EQ(ticks, stopped);
    // A handler that destroys its own timer.
    t->onTimer = [&] { ++ticks; t.reset(); };
    t->setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !t; }, 2000));
    QTest::qWait(60);
    EXPECT_EQ(ticks, stopped + 1);
}

TEST_F(QtToolkitTest, WorkersHandCallsAndMessagesToTheMainThread) {
    auto f = std::make_unique<Form>("TF");
    std::vector<std::string> got;
    f->onMessage = [&](unsigned msg, std::intptr_t w, std::intptr_t l) {
        EXPECT_EQ(QThread::currentThread(), a.thread());
        got.push_back(std::to_string(msg) + ":" + std::to_string(w) + ":" + std::to_string(l));
    };
    bool ranOnMain = false;
    std::string workerError;
    std::thread worker([&] {
        tk.runOnMainThread([&] { ranOnMain = QThread::currentThread() == a.thread(); });
        tk.postMessage(*f, 4024, 1, 2);
        try {
            tk.runOnMainThread([] { throw std::runtime_error("from main"); });
        } catch (const std::exception& e) {
            workerError = e.what();
        }
    });
    // The main thread keeps its loop going while the worker waits on it.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !got.empty() && !workerError.empty(); }, 5000));
    worker.join();
    EXPECT_TRUE(ranOnMain);
    EXPECT_EQ(workerError, "from main");
    EXPECT_EQ(got, (std::vector<std::string>{"4024:1:2"}));
    // A message for a form that goes before it is delivered is dropped.
    tk.postMessage(*f, 1, 0, 0);
    f.reset();
    tk.processMessages();
    EXPECT_EQ(got.size(), 1u);
}

TEST_F(QtToolkitTest, TheApplicationCursorAndTheBlendShow) {
    tk.setCursor(Cursor::Hourglass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    tk.setCursor(Cursor::Hourglass);
    tk.setCursor(Cursor::Default);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(tk.cursor(), Cursor::Default);

    Dialog d;
    QElapsedTimer clock;
    clock.start();
    tk.animateShow(d, 200);
    // The blend is waited for, and the window ends fully shown.
    EXPECT_GE(clock.elapsed(), 190);
    EXPECT_TRUE(d.visible());
    EXPECT_TRUE(tk.windowOf(d).isVisible());
    EXPECT_DOUBLE_EQ(tk.windowOf(d).windowOpacity(), 1.0);
    QPoint origin = tk.windowOf(d).mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(tk.screenToClient(d, {origin.x() + 5, origin.y() + 7}), (Point{5, 7}));
}

TEST_F(QtToolkitTest, PopupMenusRunTheChosenItem) {
    Form f("TF");
    PopupMenu menu(&f, "pm");
    MenuItem open(&f, "miOpen"), sep(&f, "miSep"), del(&f, "miDel");
    open.setCaption("打开(&O)");
    sep.setCaption("-");
    del.setCaption("删除");
    menu.items = {&open, &sep, &del};
    std::string ran;
    open.onClick = [&] { ran = "open"; };
    del.onClick = [&] { ran = "del"; };
    qttest::soon([] {
        auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(m, nullptr);
        ASSERT_EQ(m->actions().size(), 3);
        EXPECT_TRUE(m->actions()[1]->isSeparator());
        m->setActiveAction(m->actions()[2]);
        QTest::keyClick(m, Qt::Key_Return);
    });
    menu.popup({50, 50});
    EXPECT_EQ(ran, "del");
}

TEST_F(QtToolkitTest, HintsShowAfterTheFormsPause) {
    Form f("TF");
    Picture p(&f, "img");
    BalloonHints hints(&f, "hints");
    hints.hintPause = 300;
    p.setBounds(0, 0, 50, 50);
    p.setHint("智能引擎");
    f.show();
    QWidget* w = widget(f, p);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(tk.windowOf(f).hintPause(), 300);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(w, &enter);
    QTest::qWait(150);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text().toStdString(), "智能引擎");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
    f.hide();
}

TEST_F(QtToolkitTest, KeyPreviewSeesKeysBeforeTheControls) {
    Form f("TF");
    Edit e(&f, "ed");
    e.setBounds(0, 0, 100, 20);
    f.keyPreview = true;
    std::vector<int> keys;
    f.onKeyDown = [&](int& key) {
        keys.push_back(key);
        if (key == VK_ESCAPE)
            key = 0;
    };
    f.show();
    QWidget* w = widget(f, e);
    tk.windowOf(f).activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tk.windowOf(f)));
    w->setFocus();
    QTest::keyClicks(w, "a");
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(keys, (std::vector<int>{'A', VK_ESCAPE}));
    EXPECT_EQ(e.text(), "a");
    f.hide();
}
