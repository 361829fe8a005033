#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <tuple>

#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"
#include "toolkit/list_view.h"
#include "toolkit/timer.h"

using namespace toolkit;

namespace {
struct Tiny : Form {
    Tiny() : Form("TTiny"), Btn_Ok(this, "Btn_Ok"), Btn_Go(this, "Btn_Go"), cb(this, "cb"), t(this, "t") {
        Btn_Ok.modalResult = mrOk;
        Btn_Go.onClick = [this] { ++goes; };
        cb.onClick = [this] { ++cbClicks; };
        t.setInterval(100);
        t.onTimer = [this] { ++ticks; };
    }
    Button Btn_Ok, Btn_Go;
    CheckBox cb;
    Timer t;
    int goes = 0, cbClicks = 0, ticks = 0;
};
} // namespace

TEST(Headless, ModalRunFollowsTheScriptAndHidesTheForm) {
    HeadlessToolkit tk;
    Tiny f;
    int shows = 0;
    f.onShow = [&] { ++shows; };
    tk.onModal("TTiny", [](Form& form) { static_cast<Tiny&>(form).Btn_Ok.click(); });
    EXPECT_EQ(f.showModal(), mrOk);
    EXPECT_FALSE(f.visible());
    // Without a script the form is closed: mrCancel.
    EXPECT_EQ(f.showModal(), mrCancel);
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(tk.modalLog, (std::vector<std::string>{"TTiny", "TTiny"}));
}

TEST(Headless, CheckBoxFiresOnlyOnChange) {
    HeadlessToolkit tk;
    Tiny f;
    f.cb.setChecked(false);
    EXPECT_EQ(f.cbClicks, 0);
    f.cb.setChecked(true);
    f.cb.setChecked(true);
    EXPECT_EQ(f.cbClicks, 1);
    f.cb.click(); // the user's click toggles
    EXPECT_FALSE(f.cb.checked());
    EXPECT_EQ(f.cbClicks, 2);
}

TEST(Headless, TimersTickOneIntervalAfterEnablingAndStopWhenDisabled) {
    HeadlessToolkit tk;
    Tiny f;
    tk.advance(1000);
    EXPECT_EQ(f.ticks, 0); // not enabled
    f.t.setEnabled(true);
    tk.advance(99);
    EXPECT_EQ(f.ticks, 0);
    tk.advance(1);
    EXPECT_EQ(f.ticks, 1);
    tk.advance(250);
    EXPECT_EQ(f.ticks, 3);
    f.t.onTimer = [&] { f.t.setEnabled(false); ++f.ticks; };
    tk.advance(1000);
    EXPECT_EQ(f.ticks, 4);
}

TEST(Headless, QueuedActionsArriveThroughProcessMessagesAndErrorsReachTheHandler) {
    HeadlessToolkit tk;
    tk.setApplicationTitle("T");
    Tiny f;
    tk.queue([&] { f.Btn_Go.click(); }, 1);
    tk.queue([] { throw std::runtime_error("boom"); });
    tk.processMessages();
    EXPECT_EQ(f.goes, 0);
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "boom");
    EXPECT_EQ(tk.messageBoxes[0].caption, "T");
    tk.processMessages();
    EXPECT_EQ(f.goes, 1);
}

TEST(Headless, MessageBoxAnswersComeFromTheScript) {
    HeadlessToolkit tk;
    tk.answers.push_back(IDNO);
    EXPECT_EQ(tk.messageBox("a", "b", MB_YESNO), IDNO);
    EXPECT_EQ(tk.messageBox("a", "b", MB_YESNO), IDYES);
    EXPECT_EQ(tk.messageBox("a", "b", MB_OK), IDOK);
}

TEST(ListViewModel, VirtualModeAsksForRowsAndOwnedModeSorts) {
    HeadlessToolkit tk;
    Form f("TF");
    ListView lv(&f, "lv");
    lv.setOwnerData(true);
    int asked = 0;
    lv.onData = [&](ListItem& it) {
        ++asked;
        it.caption = "row" + std::to_string(it.index);
    };
    lv.setItemCount(100000);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(lv.item(4242).caption, "row4242");
    EXPECT_EQ(asked, 1);

    ListView owned(&f, "owned");
    for (const char* s : {"b", "c", "a"})
        owned.addItem({s, {}, false, nullptr, -1, -1});
    owned.onCompare = [](const ListItem& a, const ListItem& b, int data, int& cmp) {
        cmp = data * a.caption.compare(b.caption);
    };
    owned.customSort(-1);
    EXPECT_EQ(owned.item(0).caption, "c");
    owned.setItemIndex(2);
    owned.removeItem(0);
    EXPECT_EQ(owned.itemIndex(), 1);
}

TEST(Headless, TheToolkitHearsOfShowsHidesAndControlsThatGo) {
    struct Watching : HeadlessToolkit {
        std::vector<std::string> log;
        void formVisibilityChanged(Form& f) override { log.push_back(f.name() + (f.visible() ? " shown" : " hidden")); }
        void controlDestroyed(Control& c) override { log.push_back(c.name() + " gone"); }
        void formClosed(Form& f) override { log.push_back(f.name() + " closed"); }
    } tk;
    {
        Form f("TF");
        // The front end hears of the show before the form's own show event runs.
        f.onShow = [&] { tk.log.push_back("onShow"); };
        Label l(&f, "l");
        f.show();
        f.show(); // already shown: nothing
        f.hide();
        f.show();
        f.onCloseQuery = [](bool& canClose) { canClose = false; };
        f.close(); // refused: not closed
        f.onCloseQuery = nullptr;
        f.close();
    }
    EXPECT_EQ(tk.log, (std::vector<std::string>{"TF shown", "onShow", "TF hidden", "TF shown", "onShow", "TF hidden",
                                                "TF closed", "l gone"}));
}

TEST(ListViewModel, TheUsersSelectionFiresTheSelectEventForEveryRowThatChanged) {
    HeadlessToolkit tk;
    Form f("TF");
    ListView lv(&f, "lv");
    for (const char* s : {"a", "b", "c", "d"})
        lv.addItem({s, {}, false, nullptr, -1, -1});
    std::vector<std::pair<int, bool>> events;
    lv.onSelectItem = [&](int i, bool on) { events.emplace_back(i, on); };
    lv.setMultiSelect(true);
    lv.userSetSelection({1, 2}, 2);
    lv.userSetSelection({2, 3, 9}, 3); // a row past the end is no row
    EXPECT_EQ(lv.selection(), (std::set<int>{2, 3}));
    EXPECT_EQ(lv.itemIndex(), 3);
    EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {1, false}, {3, true}}));
    // One row at most without multi-select: the focused one.
    lv.setMultiSelect(false);
    lv.userSetSelection({0, 1}, 1);
    EXPECT_EQ(lv.selection(), (std::set<int>{1}));
}

TEST(ListViewModel, TypeAheadBuildsOneSearchTextFromKeysTypedInQuickSuccession) {
    ListView lv(nullptr, "lv");
    for (const char* c : {"apple", "Banana", "blueberry", "bluebell", "清理.log", "cherry"}) {
        ListItem it;
        it.caption = c;
        lv.addItem(it);
    }
    struct Key {
        const char* typed;
        std::int64_t at;
        int current, found;
        const char* text;
    } keys[] = {
        {"b", 0, -1, 1, "b"},          // a new search starts past the current row (none: row 0)
        {"l", 100, 1, 2, "bl"},        // within the interval: one text, from the current row
        {"uebe", 200, 2, 2, "bluebe"}, // several keys at once; the current row still matches
        {"l", 300, 2, 3, "bluebel"},
        {"b", 2000, 3, 1, "b"},        // after a pause: a new text, past the current row, wrapping
        {"b", 3100, 1, 2, "b"},        // the same letter again goes on to the next match
        {"清", 5000, 0, 4, "清"},       // a Chinese letter is one character of the search
        {"x", 7000, 0, -1, "x"},
    };
    for (const Key& k : keys) {
        EXPECT_EQ(lv.userTypeAhead(k.typed, k.at, 1000, k.current), k.found) << k.typed << " at " << k.at;
        EXPECT_EQ(lv.typedText(), k.text) << k.typed << " at " << k.at;
    }
}

// Rows inserted above the selection push it down with its rows, in either mode; the views
// hear of the insertion where it happened, not of a change at the end.
TEST(ListViewModel, TheSelectionAndTheFocusStayOnTheirRowsWhenRowsAreInsertedAbove) {
    struct Case {
        const char* what;
        int at, n;
        std::set<int> selection;
        int focused;
    };
    const Case cases[] = {
        {"above both rows", 0, 2, {3, 5}, 5},
        {"between them", 2, 1, {1, 4}, 4},
        {"below both", 4, 3, {1, 3}, 3},
        {"at the focused row", 3, 1, {1, 4}, 4},
    };
    for (bool virtualMode : {true, false}) {
        for (const Case& c : cases) {
            HeadlessToolkit tk;
            Form f("TF");
            ListView lv(&f, "lv");
            lv.setMultiSelect(true);
            lv.setOwnerData(virtualMode);
            if (virtualMode)
                lv.setItemCount(5);
            else
                for (int i = 0; i < 5; ++i)
                    lv.addItem({"r" + std::to_string(i), {}, false, nullptr, -1, -1});
            lv.userSetSelection({1, 3}, 3);
            std::vector<std::tuple<RowChange, int, int>> heard;
            lv.subscribeRows([&](RowChange ch, int first, int count) { heard.emplace_back(ch, first, count); });
            for (int k = 0; k < c.n; ++k)
                virtualMode ? lv.insertRows(c.at) : lv.insertItem(c.at, {"new", {}, false, nullptr, -1, -1});
            std::string label = std::string(c.what) + (virtualMode ? " (virtual)" : " (owned)");
            EXPECT_EQ(lv.count(), 5 + c.n) << label;
            EXPECT_EQ(lv.selection(), c.selection) << label;
            EXPECT_EQ(lv.focused(), c.focused) << label;
            EXPECT_EQ(lv.itemIndex(), c.focused) << label;
            ASSERT_EQ(heard.size(), size_t(c.n)) << label;
            EXPECT_EQ(heard[0], std::make_tuple(RowChange::Inserted, c.at, 1)) << label;
        }
    }
    HeadlessToolkit tk;
    Form f("TF");
    ListView owned(&f, "owned");
    EXPECT_THROW(owned.insertRows(0), std::logic_error);
}
