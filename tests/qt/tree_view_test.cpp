#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <QPushButton>
#include <QTreeView>

#include "qt_app.h"
#include "app/directory_dialog.h"
#include "support/temp_machine.h"
#include "toolkit/tree_view.h"

using namespace toolkit;

namespace {

struct TreeForm : Form {
    TreeForm() : Form("TTree"), tv(this, "tvFolders") {
        tv.setBounds(0, 0, 200, 300);
        tv.onExpanding = [this](TreeNode& n) {
            ++reads;
            for (const char* name : {"甲", "乙"})
                tv.add(&n, n.text + "\\" + name, 1).setHasChildren(true);
        };
        tv.onChange = [this](TreeNode* n) { changes.push_back(n ? n->text : "-"); };
        for (const char* drive : {"C:", "D:"})
            tv.add(nullptr, drive, 0).setHasChildren(true);
    }
    TreeView tv;
    int reads = 0;
    std::vector<std::string> changes;
};

} // namespace

TEST(TreeViewBinding, OpeningANodeReadsItsChildrenOnceAndSelectionGoesBothWays) {
    qttest::app();
    qtui::QtToolkit tk;
    TreeForm f;
    f.show();
    auto* view = qobject_cast<QTreeView*>(tk.windowOf(f).widgetFor(f.tv));
    ASSERT_NE(view, nullptr);
    QAbstractItemModel* m = view->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(m->rowCount(), 2);
    QModelIndex c = m->index(0, 0);
    EXPECT_EQ(c.data().toString().toStdString(), "C:");
    // Not read yet, but it shows that it can be opened.
    EXPECT_TRUE(m->hasChildren(c));
    EXPECT_EQ(f.reads, 0);

    view->expand(c);
    EXPECT_EQ(f.reads, 1);
    ASSERT_EQ(m->rowCount(c), 2);
    EXPECT_EQ(m->index(1, 0, c).data().toString().toStdString(), "C:\\乙");
    EXPECT_TRUE(f.tv.roots()[0]->expanded());
    view->collapse(c);
    view->expand(c);
    EXPECT_EQ(f.reads, 1);

    // The user's choice reaches the model; the model's choice shows in the view.
    view->setCurrentIndex(m->index(1, 0, c));
    ASSERT_NE(f.tv.selected(), nullptr);
    EXPECT_EQ(f.tv.selected()->text, "C:\\乙");
    TreeNode& d = *f.tv.roots()[1];
    f.tv.expand(d); // from code: the view opens it too
    EXPECT_TRUE(view->isExpanded(m->index(1, 0)));
    f.tv.select(d.children()[0].get());
    EXPECT_EQ(view->currentIndex().data().toString().toStdString(), "D:\\甲");
    EXPECT_EQ(f.changes, (std::vector<std::string>{"C:\\乙", "D:\\甲"}));

    f.tv.clear();
    EXPECT_EQ(m->rowCount(), 0);
    f.hide();
}

TEST(TreeViewBinding, FocusWithNothingChosenChoosesNothing) {
    qttest::app();
    qtui::QtToolkit tk;
    TreeForm f;
    f.show();
    auto* view = qobject_cast<QTreeView*>(tk.windowOf(f).widgetFor(f.tv));
    ASSERT_NE(view, nullptr);
    // The view makes its first row current when it gets the focus.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(view, &focusIn);
    EXPECT_TRUE(view->currentIndex().isValid());
    EXPECT_EQ(f.tv.selected(), nullptr);
    EXPECT_TRUE(f.changes.empty());
    // A click on it afterwards is a choice.
    QRect r = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    ASSERT_NE(f.tv.selected(), nullptr);
    EXPECT_EQ(f.tv.selected()->text, "C:");
    f.hide();
}

TEST(TreeViewBinding, TheFolderPickerOpensAsAModalDialogOverTheDrives) {
    qttest::app();
    testsupport::TempMachine machine{"CD"};
    machine.makeDir("C:\\Temp\\Old");
    machine.makeDir("C:\\Windows");
    qtui::QtToolkit tk;
    std::string seen;
    qttest::soon([&] {
        Form* browser = nullptr;
        for (Form* f : Form::all())
            if (f->name() == "TFolderBrowser")
                browser = f;
        ASSERT_NE(browser, nullptr);
        qtui::FormWindow& w = tk.windowOf(*browser);
        EXPECT_TRUE(w.isModal());
        EXPECT_TRUE(w.unboundControls().empty());
        auto* view = w.findChild<QTreeView*>("tvFolders");
        ASSERT_NE(view, nullptr);
        QAbstractItemModel* m = view->model();
        // The preselected folder is open and current.
        seen = view->currentIndex().data().toString().toStdString();
        QModelIndex c = m->index(0, 0);
        ASSERT_TRUE(c.isValid());
        int temp = -1;
        for (int i = 0; i < m->rowCount(c); ++i)
            if (m->index(i, 0, c).data().toString() == "Temp")
                temp = i;
        ASSERT_GE(temp, 0);
        QModelIndex tempIndex = m->index(temp, 0, c);
        view->expand(tempIndex);
        ASSERT_EQ(m->rowCount(tempIndex), 1);
        view->setCurrentIndex(m->index(0, 0, tempIndex));
        QTest::mouseClick(w.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    });
    std::string path;
    EXPECT_TRUE(TDirectoryDialog::Execute(nullptr, "选择要清理的目录", "C:\\Windows\\", path));
    EXPECT_EQ(seen, "Windows");
    EXPECT_EQ(path, "C:\\Temp\\Old");
}
