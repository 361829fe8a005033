#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QInputDialog>
#include <QLabel>
#include <QSpinBox>
#include <QTabBar>
#include <QTableView>

#include "qt/page_control_binding.h"
#include "qt/switch_grid_binding.h"
#include "qt_app.h"
#include "toolkit/page_control.h"
#include "toolkit/switch_grid.h"

using namespace toolkit;

namespace {

struct TPages : Form {
    TPages()
        : Form("TPages"), pc(this, "pc"), tsA(this, "tsA"), tsB(this, "tsB"), tsC(this, "tsC"), lOnB(this, "lOnB"),
          grid(this, "grid") {
        setClientSize(320, 240);
        pc.setBounds(4, 4, 312, 232);
        tsA.setCaption("甲 (&A)");
        tsB.setCaption("乙");
        tsC.setCaption("丙");
        for (TabSheet* s : {&tsA, &tsB, &tsC})
            pc.addPage(*s);
        lOnB.setCaption("on B");
        lOnB.setParentName("tsB");
        lOnB.setBounds(5, 5, 100, 20);
        grid.setParentName("tsA");
        grid.setBounds(5, 5, 300, 150);
        grid.setTitles("参数名称", "参数值");
        grid.addBoolean("显示图表", false);
        grid.addInteger("图表最小块百分比", 10, 0, 100);
        pc.onChange = [this] { ++changes; };
        grid.onChange = [this](int i) { gridChanges.push_back(i); };
    }
    PageControl pc;
    TabSheet tsA, tsB, tsC;
    Label lOnB;
    SwitchGrid grid;
    int changes = 0;
    std::vector<int> gridChanges;
};

} // namespace

TEST(PageControlWidget, TabsFollowThePagesAndAClickOnATabIsTheUsersChoice) {
    qttest::app();
    qtui::QtToolkit tk;
    TPages f;
    f.show();
    qtui::FormWindow& w = tk.windowOf(f);
    QTabBar* bar = qtui::tabBarOf(w.widgetFor(f.pc));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->count(), 3);
    EXPECT_EQ(bar->tabText(0).toStdString(), "甲 (A)");
    EXPECT_EQ(bar->currentIndex(), 0);
    // A control on a page sits in that page's widget, which sits where its model says.
    QWidget* pageB = w.widgetFor(f.tsB);
    EXPECT_EQ(w.widgetFor(f.lOnB)->parentWidget(), pageB);
    EXPECT_EQ(pageB->parentWidget(), w.widgetFor(f.pc));
    EXPECT_EQ(pageB->geometry(), QRect(0, PageControl::TabHeight, 312, 232 - PageControl::TabHeight));
    EXPECT_TRUE(pageB->isHidden());

    bar->setCurrentIndex(1); // what a click on the tab does
    EXPECT_EQ(f.pc.activePageIndex(), 1);
    EXPECT_EQ(f.changes, 1);
    EXPECT_FALSE(pageB->isHidden());
    EXPECT_TRUE(w.widgetFor(f.tsA)->isHidden());

    // A hidden tab leaves the bar; a page shown from code moves the bar without an event.
    f.tsB.setTabVisible(false);
    ASSERT_EQ(bar->count(), 2);
    emit bar->tabBarClicked(bar->currentIndex()); // the tab the bar still marks
    EXPECT_EQ(f.pc.activePageIndex(), 0);
    EXPECT_EQ(f.changes, 2);
    f.pc.setActivePageIndex(2);
    EXPECT_EQ(bar->currentIndex(), 1);
    EXPECT_EQ(bar->tabText(1).toStdString(), "丙");
    EXPECT_EQ(f.changes, 2);
    f.tsC.setCaption("丁");
    EXPECT_EQ(bar->tabText(1).toStdString(), "丁");
}

TEST(SwitchGridWidget, ChecksAndNumbersReachTheModelAndTheSpinBoxTakesOnlyTheRange) {
    qttest::app();
    qtui::QtToolkit tk;
    TPages f;
    f.show();
    auto* view = qobject_cast<QTableView*>(tk.windowOf(f).widgetFor(f.grid));
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* m = view->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(m->rowCount(), 2);
    ASSERT_EQ(m->columnCount(), 2);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString().toStdString(), "参数名称");
    EXPECT_EQ(m->data(m->index(1, 0)).toString().toStdString(), "图表最小块百分比");
    EXPECT_EQ(m->data(m->index(0, 1), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(m->flags(m->index(1, 1)) & Qt::ItemIsEditable);

    EXPECT_TRUE(m->setData(m->index(0, 1), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(f.grid.checked(0));
    EXPECT_TRUE(m->setData(m->index(1, 1), 250, Qt::EditRole));
    EXPECT_EQ(f.grid.value(1), 100);
    EXPECT_EQ(m->data(m->index(1, 1), Qt::DisplayRole).toInt(), 100);
    EXPECT_EQ(f.gridChanges, (std::vector<int>{0, 1}));

    // The editor of the number row is a spin box over the row's range.
    QStyleOptionViewItem option;
    QAbstractItemDelegate* d = view->itemDelegateForIndex(m->index(1, 1));
    ASSERT_NE(d, nullptr);
    std::unique_ptr<QWidget> editor(d->createEditor(view->viewport(), option, m->index(1, 1)));
    auto* spin = qobject_cast<QSpinBox*>(editor.get());
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->minimum(), 0);
    EXPECT_EQ(spin->maximum(), 100);
    d->setEditorData(spin, m->index(1, 1));
    EXPECT_EQ(spin->value(), 100);
    spin->setValue(33);
    d->setModelData(spin, m, m->index(1, 1));
    EXPECT_EQ(f.grid.value(1), 33);

    // Changes from code show.
    f.grid.setChecked(0, false);
    EXPECT_EQ(m->data(m->index(0, 1), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    f.grid.clear();
    EXPECT_EQ(m->rowCount(), 0);
}

TEST(TextPrompt, ShowsCaptionLabelAndDefaultAndReturnsWhatTheUserAccepted) {
    qttest::app();
    qtui::QtToolkit tk;
    struct Case {
        const char* label;
        bool accept;
        bool result;
        const char* value;
    } cases[] = {{"accepted", true, true, "KEEP.TMP"}, {"cancelled", false, false, "default"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::string value = "default";
        qttest::soon([&] {
            auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->windowTitle().toStdString(), "Add File you do not want clean");
            EXPECT_EQ(d->labelText().toStdString(), "FileName");
            EXPECT_EQ(d->textValue().toStdString(), "default");
            d->setTextValue("KEEP.TMP");
            if (c.accept)
                d->accept();
            else
                d->reject();
        });
        EXPECT_EQ(tk.inputQuery("Add File you do not want clean", "FileName", value), c.result);
        EXPECT_EQ(value, c.value);
    }
}
