#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QListView>
#include <QTest>

#include "qt/form_window.h"
#include "qt/qt_toolkit.h"
#include "qt_app.h"
#include "toolkit/check_list.h"

using namespace toolkit;

namespace {

struct TChecks : Form {
    TChecks() : Form("TChecks"), clItems(this, "clItems") {
        setClientSize(200, 150);
        clItems.setItems({"临时文件", "Cookies"});
        clItems.setBounds(5, 5, 190, 140);
        clItems.onChange = [this](int i, CheckState s) { changes.emplace_back(i, s); };
    }
    CheckList clItems;
    std::vector<std::pair<int, CheckState>> changes;
};

} // namespace

TEST(CheckListWidget, AClickOnABoxIsTheUsersToggleAndCodeChangesShowWithoutAnEvent) {
    qttest::app();
    qtui::QtToolkit tk;
    TChecks f;
    f.show();
    auto* view = qobject_cast<QListView*>(tk.windowOf(f).widgetFor(f.clItems));
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* m = view->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->data(m->index(1, 0), Qt::DisplayRole).toString().toStdString(), "Cookies");

    f.clItems.setChecked(1, true);
    EXPECT_EQ(m->data(m->index(1, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_TRUE(f.changes.empty());

    // What the view's box does when the user clicks it.
    EXPECT_TRUE(m->setData(m->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(f.clItems.checked(0));
    EXPECT_EQ(f.changes, (std::vector<std::pair<int, CheckState>>{{0, CheckState::Checked}}));
    EXPECT_EQ(m->data(m->index(0, 0), Qt::CheckStateRole).toInt(), Qt::Checked);

    f.clItems.setItemEnabled(1, false);
    EXPECT_FALSE(m->flags(m->index(1, 0)) & Qt::ItemIsEnabled);
    f.clItems.setItems({"一", "二", "三"});
    EXPECT_EQ(m->rowCount(), 3);
}
