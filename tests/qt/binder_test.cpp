#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include "qt/control_widgets.h"
#include "qt/list_view_binding.h"
#include "qt_app.h"
#include "toolkit/list_view.h"

using namespace toolkit;
using qtui::FormWindow;
using qtui::QtToolkit;

namespace {

// A tiny form with one control of each common kind.
struct TTiny : Form {
    TTiny()
        : Form("TTiny"), Btn_Go(this, "Btn_Go"), cbAuto(this, "cbAuto"), lCount(this, "lCount"), edName(this, "edName"),
          mLog(this, "mLog"), Sb_status(this, "Sb_status"), Pb_Process(this, "Pb_Process"), imgLogo(this, "imgLogo"),
          pnlBox(this, "pnlBox"), lInside(this, "lInside") {
        setCaption("小窗口");
        setClientSize(300, 240);
        Btn_Go.setCaption("开始(&S)");
        Btn_Go.setBounds(10, 10, 80, 24);
        Btn_Go.onClick = [this] { ++goes; };
        cbAuto.setCaption("自动关闭");
        cbAuto.setBounds(100, 10, 100, 24);
        cbAuto.onClick = [this] { ++autoClicks; };
        lCount.setBounds(10, 40, 100, 18);
        lCount.onClick = [this] { ++labelClicks; };
        lCount.setCursor(Cursor::Hand);
        edName.setBounds(10, 60, 120, 22);
        edName.upperCase = true;
        mLog.setBounds(10, 90, 200, 60);
        Sb_status.setBounds(0, 218, 300, 22);
        Sb_status.setPanels({{"", 120}, {"", 100}});
        Pb_Process.setBounds(10, 160, 200, 16);
        imgLogo.setBounds(220, 40, 60, 60);
        imgLogo.setImage("wizard.clean");
        imgLogo.onClick = [this] { ++pictureClicks; };
        pnlBox.setBounds(220, 110, 70, 60);
        lInside.setParentName("pnlBox");
        lInside.setBounds(5, 5, 60, 18);
    }
    Button Btn_Go;
    CheckBox cbAuto;
    Label lCount;
    Edit edName;
    Memo mLog;
    StatusBar Sb_status;
    ProgressBar Pb_Process;
    Picture imgLogo;
    Panel pnlBox;
    Label lInside;
    int goes = 0, autoClicks = 0, labelClicks = 0, pictureClicks = 0;
};

template <class W>
W* as(QtToolkit& tk, Form& f, const Control& c) {
    QWidget* w = tk.windowOf(f).widgetFor(c);
    EXPECT_NE(w, nullptr) << c.name();
    return qobject_cast<W*>(w);
}

struct Binder : ::testing::Test {
    QApplication& a = qttest::app();
    QtToolkit tk;
};

} // namespace

TEST_F(Binder, UserActionsReachTheModelAndModelChangesReachTheWidgets) {
    TTiny f;
    f.show();
    FormWindow& w = tk.windowOf(f);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle().toStdString(), "小窗口");
    EXPECT_EQ(w.size(), QSize(300, 240));
    EXPECT_TRUE(w.unboundControls().empty());
    // Widgets carry the control names.
    EXPECT_EQ(w.findChild<QPushButton*>("Btn_Go"), as<QPushButton>(tk, f, f.Btn_Go));

    auto* go = as<QPushButton>(tk, f, f.Btn_Go);
    EXPECT_EQ(go->text().toStdString(), "开始(&S)");
    EXPECT_EQ(go->geometry(), QRect(10, 10, 80, 24));
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(f.goes, 1);
    f.Btn_Go.setEnabled(false);
    EXPECT_FALSE(go->isEnabled());
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(f.goes, 1);
    f.Btn_Go.setVisible(false);
    EXPECT_FALSE(go->isVisible());

    // A check box: the user's click toggles the model once; a change from code shows.
    auto* cb = as<QCheckBox>(tk, f, f.cbAuto);
    QTest::mouseClick(cb, Qt::LeftButton);
    EXPECT_TRUE(f.cbAuto.checked());
    EXPECT_EQ(f.autoClicks, 1);
    f.cbAuto.setChecked(false);
    EXPECT_FALSE(cb->isChecked());
    EXPECT_EQ(f.autoClicks, 2);

    auto* label = as<QLabel>(tk, f, f.lCount);
    f.lCount.setCaption("共 3 个文件");
    EXPECT_EQ(label->text().toStdString(), "共 3 个文件");
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_EQ(f.labelClicks, 1);
    f.lCount.setHint("提示");
    EXPECT_EQ(label->toolTip().toStdString(), "提示");

    // Typed letters become upper case in the model and in the box.
    auto* ed = as<QLineEdit>(tk, f, f.edName);
    QTest::keyClicks(ed, "ab1");
    EXPECT_EQ(f.edName.text(), "AB1");
    EXPECT_EQ(ed->text().toStdString(), "AB1");
    f.edName.setText("X");
    EXPECT_EQ(ed->text().toStdString(), "X");

    auto* memo = as<QPlainTextEdit>(tk, f, f.mLog);
    f.mLog.setText("第一行\r\n第二行");
    EXPECT_EQ(memo->toPlainText().toStdString(), "第一行\n第二行");
    memo->setPlainText("甲\n乙");
    EXPECT_EQ(f.mLog.lines(), (std::vector<std::string>{"甲", "乙"}));

    auto* sb = as<qtui::StatusBarWidget>(tk, f, f.Sb_status);
    f.Sb_status.setPanelText(1, "文件: 12");
    EXPECT_EQ(sb->texts(), (QStringList{"", "文件: 12"}));
    f.Sb_status.setSimpleText("正在扫描");
    f.Sb_status.setSimplePanel(true);
    EXPECT_EQ(sb->texts(), (QStringList{"正在扫描"}));

    auto* pb = as<QProgressBar>(tk, f, f.Pb_Process);
    f.Pb_Process.setRange(0, 50);
    f.Pb_Process.setPosition(20);
    EXPECT_EQ(pb->maximum(), 50);
    EXPECT_EQ(pb->value(), 20);

    auto* pic = as<qtui::PictureWidget>(tk, f, f.imgLogo);
    EXPECT_EQ(pic->image(), "wizard.clean");
    QTest::mouseClick(pic, Qt::LeftButton);
    EXPECT_EQ(f.pictureClicks, 1);
    EXPECT_FALSE(pic->grab().isNull());

    // A control inside a panel sits in the panel's widget.
    EXPECT_EQ(tk.windowOf(f).widgetFor(f.lInside)->parentWidget(), tk.windowOf(f).widgetFor(f.pnlBox));

    f.setCaption("新标题");
    EXPECT_EQ(w.windowTitle().toStdString(), "新标题");
    f.close();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(Binder, AControlMadeLaterGetsItsWidgetWhenShownAndOneThatGoesTakesItWith) {
    Form f("TF");
    f.show();
    f.hide();
    auto b = std::make_unique<Button>(&f, "Btn");
    f.show();
    QPointer<QWidget> w = tk.windowOf(f).widgetFor(*b);
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    b.reset();
    EXPECT_FALSE(w->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    f.hide();
}

namespace {

struct ListForm : Form {
    ListForm() : Form("TList"), lv(this, "Lv_GarbageList") {
        lv.setBounds(0, 0, 400, 300);
        lv.setCheckBoxes(true);
        lv.setColumns({{"名称", 120}, {"大小", 60, Alignment::Right}, {"路径", 200}});
    }
    ListView lv;
};

ListItem row(const std::string& caption, const std::string& size = "0") {
    ListItem it;
    it.caption = caption;
    it.subItems = {size, "C:\\" + caption};
    it.checked = true;
    return it;
}

} // namespace

TEST_F(Binder, AnOwnedListIsShownThroughAnItemModelThatFollowsEveryChange) {
    ListForm f;
    f.show();
    auto* view = as<qtui::ListViewWidget>(tk, f, f.lv);
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* m = view->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(m->columnCount(), 3);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(), "大小");
    EXPECT_EQ(m->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);

    for (const char* s : {"b.tmp", "c.log", "a.bak"})
        f.lv.addItem(row(s, "10"));
    f.lv.insertItem(1, row("x.old", "5"));
    ASSERT_EQ(m->rowCount(), 4);
    EXPECT_EQ(m->index(1, 0).data().toString().toStdString(), "x.old");
    EXPECT_EQ(m->index(1, 2).data().toString().toStdString(), "C:\\x.old");
    EXPECT_EQ(m->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    f.lv.removeItem(0);
    EXPECT_EQ(m->index(0, 0).data().toString().toStdString(), "x.old");
    f.lv.itemRef(0)->caption = "y.old";
    f.lv.rowChanged(0);
    EXPECT_EQ(m->index(0, 0).data().toString().toStdString(), "y.old");
    f.lv.setChecked(0, false); // from code: no event, but the view follows
    EXPECT_EQ(m->index(0, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);

    // The user's toggle reaches the model's event.
    std::vector<std::pair<int, bool>> toggles;
    f.lv.onItemChecked = [&](int i, bool on) { toggles.emplace_back(i, on); };
    EXPECT_TRUE(m->setData(m->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_EQ(toggles, (std::vector<std::pair<int, bool>>{{1, false}}));
    EXPECT_FALSE(f.lv.item(1).checked);

    // Sorting: a header click reaches the model, whose compare event orders the rows.
    int clicked = -1;
    f.lv.onColumnClick = [&](int column) {
        clicked = column;
        f.lv.alphaSort();
    };
    QTest::mouseClick(view->header()->viewport(), Qt::LeftButton, {},
                      QPoint(view->header()->sectionViewportPosition(0) + 5, 5));
    EXPECT_EQ(clicked, 0);
    EXPECT_EQ(m->index(0, 0).data().toString().toStdString(), "a.bak");

    // Selection both ways.
    f.lv.setItemIndex(2);
    EXPECT_EQ(view->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(view->selectionModel()->selectedRows()[0].row(), 2);
    std::vector<int> selected;
    f.lv.onSelectItem = [&](int i, bool on) {
        if (on)
            selected.push_back(i);
    };
    view->selectionModel()->setCurrentIndex(m->index(0, 1), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(f.lv.itemIndex(), 0);
    EXPECT_EQ(selected, (std::vector<int>{0}));

    // The list style shows the captions alone; the report style the columns again.
    f.lv.setViewStyle(ViewStyle::List);
    EXPECT_TRUE(view->isHeaderHidden());
    EXPECT_TRUE(view->isColumnHidden(1));
    f.lv.setViewStyle(ViewStyle::Report);
    EXPECT_FALSE(view->isHeaderHidden());
    EXPECT_FALSE(view->isColumnHidden(2));

    // Columns can change; and clearing leaves nothing.
    f.lv.setColumns({{"名称", 100}});
    EXPECT_EQ(m->columnCount(), 1);
    f.lv.clear();
    EXPECT_EQ(m->rowCount(), 0);
    f.hide();
}

TEST_F(Binder, AVirtualListAsksOnlyForTheRowsItShows) {
    ListForm f;
    f.lv.setOwnerData(true);
    std::set<int> asked;
    std::pair<int, int> hint{-1, -1};
    f.lv.onData = [&](ListItem& it) {
        asked.insert(it.index);
        it.caption = "行" + std::to_string(it.index);
        it.subItems = {std::to_string(it.index * 10), "p"};
        it.checked = it.index % 2 == 0;
    };
    f.lv.onDataHint = [&](int from, int to) { hint = {from, to}; };
    f.lv.onCustomDraw = [](int index, int, ItemStyle& s) {
        if (index == 3)
            s.strikeOut = true;
    };
    f.lv.setItemCount(1000000);
    f.show();
    auto* view = as<qtui::ListViewWidget>(tk, f, f.lv);
    QAbstractItemModel* m = view->model();
    EXPECT_EQ(m->rowCount(), 1000000);
    view->grab(); // draws the rows in sight
    EXPECT_EQ(hint.first, 0);
    EXPECT_GT(hint.second, 0);
    EXPECT_LT(hint.second, 100);
    EXPECT_LT(asked.size(), 200u); // a screenful, never the whole list
    EXPECT_EQ(m->index(999999, 1).data().toString().toStdString(), "9999990");
    EXPECT_EQ(m->index(3, 0).data(Qt::FontRole).value<QFont>().strikeOut(), true);
    // The tester reads every row: it watches the changes of a shorter list.
    f.lv.setItemCount(10);
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(m->rowCount(), 10);
    // Rows added at the end reach the view together, a moment later.
    f.lv.setItemCount(11);
    f.lv.setItemCount(12);
    EXPECT_EQ(m->rowCount(), 10);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m->rowCount() == 12; }, 1000));
    EXPECT_EQ(inserted.count(), 1);
    f.lv.invalidate();
    EXPECT_EQ(m->rowCount(), 12);
    // Type-ahead goes through the model's search.
    f.lv.onDataFind = [](FindKind, const std::string& text, int, bool) { return text == "行7" ? 7 : -1; };
    view->setFocus();
    view->keyboardSearch("行7");
    EXPECT_EQ(view->currentIndex().row(), 7);
    f.hide();
}

namespace {

struct LooksForm : Form {
    LooksForm() : Form("TLooks"), lv(this, "lvFiles"), mNote(this, "mNote"), edPath(this, "edPath") {
        setClientSize(420, 300);
        lv.setBounds(0, 0, 400, 200);
        lv.setColumns({{"名称", 120}});
        lv.setCheckBoxes(true);
        lv.addItem(row("a.tmp"));
        mNote.setBounds(0, 210, 200, 60);
        edPath.setBounds(210, 210, 200, 22);
    }
    ListView lv;
    Memo mNote;
    Edit edPath;
};

} // namespace

TEST_F(Binder, LooksChangedAfterTheWindowIsShownReachTheWidgets) {
    LooksForm f;
    f.show();
    auto* view = as<qtui::ListViewWidget>(tk, f, f.lv);
    auto* memo = as<QPlainTextEdit>(tk, f, f.mNote);
    auto* edit = as<QLineEdit>(tk, f, f.edPath);
    ASSERT_TRUE(view && memo && edit);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(memo->frameShape(), QFrame::StyledPanel);
    EXPECT_TRUE(edit->hasFrame());

    f.lv.setMultiSelect(true);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::ExtendedSelection);
    f.mNote.setBorder(false);
    EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
    f.mNote.setWordWrap(false);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    f.edPath.setBorder(false);
    EXPECT_FALSE(edit->hasFrame());
    QModelIndex first = view->model()->index(0, 0);
    EXPECT_EQ(first.data(Qt::CheckStateRole).toInt(), Qt::Checked);
    f.lv.setCheckBoxes(false);
    EXPECT_FALSE(first.data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(view->model()->flags(first) & Qt::ItemIsUserCheckable);

    // And back again.
    f.lv.setMultiSelect(false);
    EXPECT_EQ(view->selectionMode(), QAbstractItemView::SingleSelection);
    f.mNote.setBorder(true);
    EXPECT_EQ(memo->frameShape(), QFrame::StyledPanel);
    f.hide();
}

// Rows a virtual list gains above the user's selection move the view's selection and
// current row with them, also while rows added at the end wait to be announced.
TEST_F(Binder, TheViewsSelectionStaysOnItsRowWhenRowsAreInsertedAbove) {
    ListForm f;
    f.lv.setOwnerData(true);
    std::vector<std::string> data = {"a", "b", "c"};
    f.lv.onData = [&](ListItem& it) { it.caption = data[size_t(it.index)]; };
    f.lv.setItemCount(3);
    f.show();
    auto* view = as<qtui::ListViewWidget>(tk, f, f.lv);
    QAbstractItemModel* m = view->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    view->selectionModel()->setCurrentIndex(m->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ASSERT_EQ(f.lv.itemIndex(), 1);
    data.push_back("d"); // at the end: announced a moment later
    f.lv.setItemCount(4);
    data.insert(data.begin(), "new");
    f.lv.insertRows(0);
    EXPECT_EQ(m->rowCount(), 5);
    EXPECT_EQ(f.lv.itemIndex(), 2);
    EXPECT_EQ(view->currentIndex().row(), 2);
    ASSERT_EQ(view->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(view->selectionModel()->selectedRows()[0].data().toString(), "b");
    f.hide();
}

// Assistive tools name a control by its caption, else by its hint's first line, and press
// a launcher as a click would.
TEST_F(Binder, AssistiveToolsNameControlsAndPressLaunchers) {
    TTiny f;
    f.imgLogo.setHint("清理垃圾文件...\n第二行");
    f.lCount.setCaption("共 &3 项");
    f.show();
    auto access = [&](const Control& c) { return QAccessible::queryAccessibleInterface(tk.windowOf(f).widgetFor(c)); };
    struct Case {
        const char* what;
        const Control& control;
        QAccessible::Role role;
        const char* name;
    };
    const Case cases[] = {
        {"a button: its caption without the accelerator mark", f.Btn_Go, QAccessible::Button, "开始(S)"},
        {"a check box", f.cbAuto, QAccessible::CheckBox, "自动关闭"},
        {"a picture with a click event: a button named by its hint", f.imgLogo, QAccessible::Button, "清理垃圾文件..."},
        {"a label with a click event", f.lCount, QAccessible::Button, "共 3 项"},
        {"a label without one stays text", f.lInside, QAccessible::StaticText, ""},
    };
    for (const Case& c : cases) {
        QAccessibleInterface* a = access(c.control);
        ASSERT_NE(a, nullptr) << c.what;
        EXPECT_EQ(a->role(), c.role) << c.what;
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), c.name) << c.what;
    }
    // A name follows the model.
    f.imgLogo.setHint("另一个提示");
    EXPECT_EQ(access(f.imgLogo)->text(QAccessible::Name).toStdString(), "另一个提示");
    // The press action runs the click event; a label without one has no press action.
    access(f.imgLogo)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    access(f.lCount)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    // From the event loop: the tool that pressed has its answer before a modal window runs.
    EXPECT_EQ(f.pictureClicks, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f.pictureClicks == 1 && f.labelClicks == 1; }, 1000));
    EXPECT_EQ(f.pictureClicks, 1);
    EXPECT_EQ(f.labelClicks, 1);
    QAccessibleActionInterface* text = access(f.lInside)->actionInterface();
    EXPECT_TRUE(!text || !text->actionNames().contains(QAccessibleActionInterface::pressAction()));
    f.hide();
}
