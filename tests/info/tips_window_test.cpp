#include <gtest/gtest.h>

#include <filesystem>

#include "app/entry_point.h"
#include "app/start_window.h"
#include "info/tips_window.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

namespace {

const char* const kTipsFile = "C:\\Quor\\Tips.CFG";
const char* const kPage = "C:\\Quor\\tips.htm";
const char* const kSettings = "C:\\Quor\\quorCleaner.cfg";

std::string page(const std::string& tip) {
    return "<font:12px \"MS Song\", \"MS Sans Serif\"; size=1>\r\n" + tip + "\r\n</font>\r\n";
}

struct Tips : ::testing::Test {
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;

    bool pageExists() { return fs::exists(machine.native(kPage)); }
    // The tip on screen, from the page the view shows.
    std::string shownTip(const TFrm_Tips& w) {
        std::string text = w.wbTips.location().empty() ? w.wbTips.html() : machine.readFile(w.wbTips.location());
        const std::string head = page("").substr(0, page("").find("\r\n") + 2);
        EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
        EXPECT_EQ(text.substr(text.size() - 11), "\r\n</font>\r\n");
        return text.substr(head.size(), text.size() - head.size() - 11);
    }
    // The tips shown by the window as created, then after each of `clicks` presses.
    Strings walk(TFrm_Tips& w, int clicks) {
        Strings shown{shownTip(w)};
        for (int i = 0; i < clicks; ++i) {
            w.Btn_NextTips.click();
            shown.push_back(shownTip(w));
        }
        return shown;
    }
    bool readShowTips() { return TSetting(kSettings).ShowTips; }
};

} // namespace

TEST_F(Tips, LinesOfTheTipsFileAreShownInTurn) {
    std::string lines150;
    for (int i = 1; i <= 150; ++i)
        lines150 += "tip " + std::to_string(i) + "\r\n";
    Strings hundredThenFirst;
    for (int i = 1; i <= 100; ++i)
        hundredThenFirst.push_back("tip " + std::to_string(i));
    hundredThenFirst.push_back("tip 1");
    struct Case {
        const char* label;
        std::string content;
        int clicks;
        int count;
        Strings shown; // at creation, then after each click
    } cases[] = {
        {"one tip repeats", "只有一条技巧\r\n", 2, 1, {"只有一条技巧", "只有一条技巧", "只有一条技巧"}},
        {"150 lines give 100 tips that wrap", lines150, 100, 100, hundredThenFirst},
        {"empty lines are empty tips", "一\r\n\r\n三", 3, 3, {"一", "", "三", "一"}},
        {"lines end in LF or CR as well", "a\nb\rc\r\n", 2, 3, {"a", "b", "c"}},
        {"markup is kept as it is", "按 <b>下一条</b> &amp; 继续\r\n", 0, 1, {"按 <b>下一条</b> &amp; 继续"}},
        {"a byte-order mark is no part of the first tip", "\xEF\xBB\xBF第一条\r\n第二条\r\n", 1, 2, {"第一条", "第二条"}},
        {"GBK text is read as GBK", "\xC4\xE3\xBA\xC3 <b>\xB4\xD6\xCC\xE5</b>\r\n", 0, 1, {"你好 <b>粗体</b>"}},
        {"an empty file writes the empty page of entry 1", "", 1, 0, {"", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        machine.writeFile(kTipsFile, c.content);
        TFrm_Tips w;
        EXPECT_EQ(w.TipCount, c.count);
        EXPECT_EQ(w.wbTips.location(), kPage);
        EXPECT_EQ(walk(w, c.clicks), c.shown);
    }
}

TEST_F(Tips, ThePageHoldsTheTipByteForByteBetweenTheFontLines) {
    machine.writeFile(kTipsFile, "第一条\r\n<i>第二条</i>\r\n");
    TFrm_Tips w;
    EXPECT_EQ(machine.readFile(kPage), "<font:12px \"MS Song\", \"MS Sans Serif\"; size=1>\r\n第一条\r\n</font>\r\n");
    w.Btn_NextTips.click();
    EXPECT_EQ(machine.readFile(kPage), "<font:12px \"MS Song\", \"MS Sans Serif\"; size=1>\r\n<i>第二条</i>\r\n</font>\r\n");
    EXPECT_EQ(w.wbTips.showings(), 2u);
}

TEST_F(Tips, WithoutATipsFileTheViewStaysEmptyUntilTheFirstClick) {
    for (bool folderInstead : {false, true}) {
        SCOPED_TRACE(folderInstead ? "a folder named Tips.CFG" : "no Tips.CFG");
        if (folderInstead)
            machine.makeDir(kTipsFile);
        TFrm_Tips w;
        EXPECT_EQ(w.TipCount, 0);
        EXPECT_EQ(w.wbTips.showings(), 0u);
        EXPECT_FALSE(pageExists());
        w.Btn_NextTips.click();
        EXPECT_EQ(w.CurrentTip, 1);
        EXPECT_EQ(machine.readFile(kPage), page(""));
        fs::remove(machine.native(kPage));
    }
}

TEST_F(Tips, WhenThePageCannotBeWrittenTheTipIsShownFromMemory) {
    machine.writeFile(kTipsFile, "一\r\n二\r\n");
    machine.makeDir(kPage); // nothing can be written in its place
    TSetting settings(kSettings);
    Setting = &settings;
    TFrm_Tips w;
    EXPECT_EQ(w.wbTips.location(), "");
    EXPECT_EQ(w.wbTips.html(), page("一"));
    tk.onModal("TFrm_Tips", [](toolkit::Form& f) {
        auto& t = static_cast<TFrm_Tips&>(f);
        t.Btn_NextTips.click();
        t.Btn_DeletePlan.click();
    });
    w.showModal();
    Setting = nullptr;
    EXPECT_EQ(w.wbTips.html(), page("二"));
    EXPECT_FALSE(w.visible());
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(Tips, TheThirdTipAfterTwoClicksAndAReopeningFromTheHelpPicture) {
    machine.writeFile(kTipsFile, "一\r\n二\r\n三\r\n四\r\n");
    std::string shown;
    tk.onModal("TFrm_Tips", [](toolkit::Form& f) {
        auto& t = static_cast<TFrm_Tips&>(f);
        t.Btn_NextTips.click();
        t.Btn_NextTips.click();
        t.Btn_DeletePlan.click();
    });
    tk.onModal("TFrm_Tips", [&](toolkit::Form& f) {
        shown = shownTip(static_cast<TFrm_Tips&>(f));
        static_cast<TFrm_Tips&>(f).Btn_DeletePlan.click();
    });
    tk.mainScript = [](toolkit::Form& main) {
        auto& start = static_cast<TFrm_Wizard&>(main);
        start.ImgHelp.click();
        start.ImgHelp.click();
    };
    EXPECT_EQ(RunQuorCleaner(), 0);
    EXPECT_EQ(tk.modalLog, (Strings{"TFrm_Tips", "TFrm_Tips"}));
    EXPECT_EQ(shown, "三");
}

TEST_F(Tips, ClearingTheBoxSavesShowTipsAtOnceAndTheNextStartShowsNoTips) {
    tk.mainScript = [](toolkit::Form&) { Setting->ShowTips = true; };
    RunQuorCleaner();
    ASSERT_TRUE(readShowTips());

    bool checkedOnShow = false, savedAtOnce = true;
    tk.onModal("TFrm_Tips", [&](toolkit::Form& f) {
        auto& t = static_cast<TFrm_Tips&>(f);
        checkedOnShow = t.Ckb_Hint.checked();
        t.Ckb_Hint.click(); // the user clears the box
        savedAtOnce = readShowTips();
        t.Btn_DeletePlan.click();
    });
    tk.mainScript = {};
    RunQuorCleaner();
    EXPECT_EQ(tk.modalLog, (Strings{"TFrm_Tips"}));
    EXPECT_TRUE(checkedOnShow);
    EXPECT_FALSE(savedAtOnce);

    tk.modalLog.clear();
    RunQuorCleaner();
    EXPECT_TRUE(tk.modalLog.empty());
}

TEST_F(Tips, ShowingSetsTheBoxFromTheSettingAndWritesThemWhenItChanges) {
    TSetting settings(kSettings);
    Setting = &settings;
    TFrm_Tips w;
    EXPECT_TRUE(w.Ckb_Hint.checked()); // as designed
    EXPECT_FALSE(fs::exists(machine.native(kSettings)));
    w.show(); // ShowTips is off: the box changes, and its handler writes the settings
    EXPECT_FALSE(w.Ckb_Hint.checked());
    EXPECT_TRUE(fs::exists(machine.native(kSettings)));
    EXPECT_FALSE(settings.ShowTips);
    EXPECT_EQ(w.activeControl(), &w.Btn_DeletePlan);
    w.hide();
    fs::remove(machine.native(kSettings));
    w.show(); // the box already matches: nothing is written
    EXPECT_FALSE(fs::exists(machine.native(kSettings)));
    Setting = nullptr;
}
