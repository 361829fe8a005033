#include <gtest/gtest.h>

#include <memory>

#include "toolkit/form.h"
#include "toolkit/page_control.h"
#include "toolkit/switch_grid.h"

using namespace toolkit;

TEST(PageControl, PagesSitBelowTheTabsAndOnlyTheActiveOneShows) {
    Form f("TF");
    PageControl pc(&f, "pc");
    TabSheet a(&f, "a"), b(&f, "b"), c(&f, "c");
    pc.setBounds(8, 8, 300, 200);
    for (TabSheet* s : {&a, &b, &c})
        pc.addPage(*s);
    EXPECT_EQ(a.parentName(), "pc");
    EXPECT_EQ(b.bounds(), (Rect{0, PageControl::TabHeight, 300, 200 - PageControl::TabHeight}));
    pc.setBounds(8, 8, 400, 100);
    EXPECT_EQ(c.bounds(), (Rect{0, PageControl::TabHeight, 400, 100 - PageControl::TabHeight}));
    EXPECT_EQ(pc.activePageIndex(), 0);
    EXPECT_TRUE(a.visible());
    EXPECT_FALSE(b.visible());

    int changes = 0;
    pc.onChange = [&] { ++changes; };
    pc.setActivePage(c); // from code: no event
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(c.visible());
    EXPECT_FALSE(a.visible());

    pc.userSelect(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pc.activePage(), &b);
    pc.userSelect(1); // the page already shown
    EXPECT_EQ(changes, 1);

    // A refused change, and a hidden tab, which the user cannot click but code can show.
    pc.onChanging = [](bool& allow) { allow = false; };
    pc.userSelect(0);
    EXPECT_EQ(pc.activePage(), &b);
    pc.onChanging = nullptr;
    a.setTabVisible(false);
    pc.userSelect(0);
    EXPECT_EQ(pc.activePage(), &b);
    pc.setActivePageIndex(0);
    EXPECT_TRUE(a.visible());
}

TEST(PageControl, APageThatGoesFirstLeavesTheControlSound) {
    Form f("TF");
    PageControl pc(&f, "pc");
    TabSheet a(&f, "a");
    {
        auto b = std::make_unique<TabSheet>(&f, "b");
        pc.addPage(a);
        pc.addPage(*b);
        pc.setActivePageIndex(1);
    }
    EXPECT_EQ(pc.pageCount(), 1);
    EXPECT_EQ(pc.activePage(), &a);
    EXPECT_TRUE(a.visible());
    auto orphan = std::make_unique<TabSheet>(&f, "o");
    {
        PageControl other(&f, "other");
        other.addPage(*orphan);
    }
    EXPECT_EQ(orphan->pageControl(), nullptr);
    EXPECT_EQ(orphan->pageIndex(), -1);
}

TEST(SwitchGrid, BooleanRowsToggleAndIntegerRowsStayInTheirRange) {
    Form f("TF");
    SwitchGrid g(&f, "g");
    std::vector<int> changes;
    g.onChange = [&](int i) { changes.push_back(i); };
    EXPECT_EQ(g.addBoolean("on", true), 0);
    EXPECT_EQ(g.addInteger("percent", 250, 0, 100), 1);
    EXPECT_EQ(g.value(1), 100); // a value from outside is brought within the range

    // From code: no event, and a row of the other kind is left alone.
    g.setChecked(0, false);
    g.setValue(1, -3);
    g.setChecked(1, true);
    g.setValue(0, 7);
    EXPECT_FALSE(g.checked(0));
    EXPECT_EQ(g.value(1), 0);
    EXPECT_FALSE(g.checked(1));
    EXPECT_TRUE(changes.empty());

    struct Step {
        const char* label;
        bool toggle;
        int row, value;
        bool checked0;
        int value1;
        std::vector<int> changes;
    } steps[] = {
        {"toggle", true, 0, 0, true, 0, {0}},
        {"a number", false, 1, 42, true, 42, {0, 1}},
        {"the same number: no change", false, 1, 42, true, 42, {0, 1}},
        {"too large", false, 1, 1000, true, 100, {0, 1, 1}},
        {"toggling the integer row", true, 1, 0, true, 100, {0, 1, 1}},
        {"a row past the end", true, 5, 0, true, 100, {0, 1, 1}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        if (s.toggle)
            g.userToggle(s.row);
        else
            g.userSetValue(s.row, s.value);
        EXPECT_EQ(g.checked(0), s.checked0);
        EXPECT_EQ(g.value(1), s.value1);
        EXPECT_EQ(changes, s.changes);
    }
    g.setEnabled(false);
    g.userToggle(0);
    EXPECT_TRUE(g.checked(0));
    g.clear();
    EXPECT_EQ(g.count(), 0);
}
