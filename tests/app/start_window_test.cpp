#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "analyzer/analyzer_window.h"
#include "app/entry_point.h"
#include "app/splash_window.h"
#include "app/start_window.h"
#include "cleaner/cleaning_window.h"
#include "info/about_window.h"
#include "info/tips_window.h"
#include "options/option_window.h"
#include "programs/uninstall_window.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"
#include "wipe/wipe_window.h"

namespace fs = std::filesystem;
using toolkit::Form;

namespace {

// Records which windows go, in order.
struct RecordingToolkit : toolkit::HeadlessToolkit {
    std::vector<std::string> destroyed;
    void formDestroyed(Form& f) override {
        destroyed.push_back(f.name());
        HeadlessToolkit::formDestroyed(f);
    }
    int destroyedCount(const std::string& name) const {
        return int(std::count(destroyed.begin(), destroyed.end(), name));
    }
};

struct StartUp : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    RecordingToolkit tk;
    const std::string cfg = "C:\\Quor\\quorCleaner.cfg";

    // Runs the program; `script` plays the user while the start window is up.
    void run(std::function<void(TFrm_Wizard&)> script = {}) {
        tk.mainScript = [script](Form& main) {
            if (script)
                script(static_cast<TFrm_Wizard&>(main));
        };
        EXPECT_EQ(RunQuorCleaner(), 0);
    }
    // A click as the message loop delivers it: errors reach the default handler.
    static void click(toolkit::Control& c) {
        toolkit::dispatch([&] { c.click(); });
    }
    // Moves the mouse to a point of the start window's client area and lets a tick pass.
    void hover(TFrm_Wizard& w, toolkit::Point client) {
        tk.setCursorPos({w.bounds().left + client.x, w.bounds().top + client.y});
        tk.advance(100);
    }
    static toolkit::Point centre(const toolkit::Control& c) {
        return {c.bounds().left + c.bounds().width / 2, c.bounds().top + c.bounds().height / 2};
    }
};

} // namespace

TEST_F(StartUp, StepsRunInOrderAndTheWindowsGoInReverse) {
    std::vector<std::string> live;
    bool settingsDuringRun = false;
    run([&](TFrm_Wizard& w) {
        for (Form* f : Form::all())
            live.push_back(f->name());
        settingsDuringRun = Setting != nullptr;
        EXPECT_EQ(w.caption(), "WindowsKestrane --- 2008Brisa ");
        EXPECT_EQ(w.lTitle.caption(), "Tessaly --- 2008Brisa  ");
        EXPECT_EQ(Frm_Wizard, &w);
    });
    // The splash blended in for 500 ms under the hourglass, and was gone before the loop.
    ASSERT_EQ(tk.animations.size(), 1u);
    EXPECT_EQ(tk.animations[0].second, 500);
    EXPECT_EQ(tk.cursorLog, (std::vector<toolkit::Cursor>{toolkit::Cursor::Hourglass, toolkit::Cursor::Default}));
    EXPECT_EQ(tk.titleLog, (std::vector<std::string>{"WindowsKestrane 2008"}));
    EXPECT_EQ(tk.helpFile(), "");
    EXPECT_EQ(live, (std::vector<std::string>{"TFrm_Wizard", "TFrm_About", "TfrmOption", "TFrm_Tips", "TfrmUninstall"}));
    EXPECT_TRUE(settingsDuringRun);
    EXPECT_EQ(tk.destroyed, (std::vector<std::string>{"TFrm_Splash", "TfrmUninstall", "TFrm_Tips", "TfrmOption",
                                                      "TFrm_About", "TFrm_Wizard"}));
    EXPECT_TRUE(Form::all().empty());
    EXPECT_EQ(Setting, nullptr);
    EXPECT_EQ(Frm_Wizard, nullptr);
    EXPECT_EQ(frmOption, nullptr);
    EXPECT_TRUE(tk.modalLog.empty()); // ShowTips is off by default
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(StartUp, TheSplashShowsTheProductTitle) {
    TFrm_Splash splash;
    tk.animateShow(splash, 500);
    EXPECT_EQ(splash.lProductTitle.caption(), "Tessaly --- 2008Brisa  ");
    EXPECT_EQ(splash.L_Hint.caption(), "");
    EXPECT_EQ(splash.clientWidth(), splash.Image2.bounds().width);
}

TEST_F(StartUp, ClosingWritesTheSettingsEvenWhenNothingChanged) {
    run();
    EXPECT_EQ(machine.readFile(cfg).size(), 443u);
    ASSERT_TRUE(fs::exists(machine.native(cfg + ".Garbage")));
    EXPECT_EQ(machine.readFile(cfg + ".Garbage"), "");
}

TEST_F(StartUp, ChangedSettingsAreSavedAtTheEndAndReadAtTheNextStart) {
    run([](TFrm_Wizard&) { Setting->SlicePercent = 200; });
    run([](TFrm_Wizard&) { EXPECT_EQ(Setting->SlicePercent, 200); });
}

TEST_F(StartUp, ASecondCopyEndsAtOnceAndShowsNothing) {
    int result = -1;
    size_t formsBefore = 0;
    run([&](TFrm_Wizard&) {
        formsBefore = Form::all().size();
        result = RunQuorCleaner(); // the mutex is held by the running copy
        EXPECT_EQ(Form::all().size(), formsBefore);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(tk.animations.size(), 1u); // only the first copy's splash
    EXPECT_EQ(tk.titleLog.size(), 1u);
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(StartUp, ShowTipsShowsTheTipWindowBeforeTheStartWindowIsUsed) {
    run([](TFrm_Wizard&) { Setting->ShowTips = true; });
    std::vector<std::string> beforeUse;
    run([&](TFrm_Wizard&) { beforeUse = tk.modalLog; });
    EXPECT_EQ(beforeUse, (std::vector<std::string>{"TFrm_Tips"}));
}

TEST_F(StartUp, AnUnreadableSettingsFileIsReportedAndTheProgramStartsWithWhatWasRead) {
    std::string bad = std::string("\x0A") + "AutoUpdate" + "\x08" + "\x03" + "Foo" + "\x09";
    machine.writeFile(cfg, bad);
    bool started = false;
    run([&](TFrm_Wizard&) {
        started = true;
        ASSERT_NE(Setting, nullptr);
        EXPECT_FALSE(Setting->AutoUpdate);
        EXPECT_EQ(Setting->Directorys.Count(), 2);
    });
    EXPECT_TRUE(started);
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "Error reading TSetting.Foo: Property Foo does not exist");
    EXPECT_EQ(machine.readFile(cfg + ".bad"), bad);
    EXPECT_EQ(machine.readFile(cfg).size(), 443u);
}

TEST_F(StartUp, AFailedSaveAtTheEndIsShownAndTheProgramStillEnds) {
    run([&](TFrm_Wizard&) { machine.makeDir(cfg + "\\blocked"); });
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text.rfind("Cannot create file \"" + cfg + "\". ", 0), 0u);
    EXPECT_EQ(Setting, nullptr);
    EXPECT_TRUE(Form::all().empty());
}

TEST_F(StartUp, HoveringALauncherShowsItsTextAndLeavingKeepsIt) {
    run([&](TFrm_Wizard& w) {
        EXPECT_EQ(w.mInfo.lines(), (std::vector<std::string>{"提示: 点击功能按钮进入相应功能..."}));
        toolkit::Picture* launchers[] = {&w.imgClean, &w.ImgDiag, &w.ImgOption, &w.ImgWipe, &w.ImgHelp, &w.ImgUninstall};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(launchers[i]->tag(), i + 1);
            EXPECT_EQ(launchers[i]->cursor(), toolkit::Cursor::Hand);
            hover(w, centre(*launchers[i]));
            EXPECT_EQ(w.mInfo.lines(), (std::vector<std::string>{std::string("友情提示: ") + LauncherTips[size_t(i + 1)]}))
                << launchers[i]->name();
        }
        hover(w, centre(w.ImgHelp));
        EXPECT_EQ(w.mInfo.lines(),
                  (std::vector<std::string>{"友情提示: 有技术问题联系Msn: support@quorcleaner.example ..."}));
        // Off every picture (on the banner, then outside the window): the text stays.
        hover(w, {5, 5});
        hover(w, {-50, 900});
        EXPECT_EQ(w.mInfo.lines(),
                  (std::vector<std::string>{"友情提示: 有技术问题联系Msn: support@quorcleaner.example ..."}));
        // The right edge of a picture is outside it.
        const toolkit::Rect& r = w.imgClean.bounds();
        hover(w, {r.left + r.width, r.top});
        EXPECT_NE(w.mInfo.lines()[0], std::string("友情提示: ") + LauncherTips[1]);
        hover(w, {r.left, r.top});
        EXPECT_EQ(w.mInfo.lines()[0], std::string("友情提示: ") + LauncherTips[1]);
    });
}

TEST_F(StartUp, TheHoverTextFollowsTheTimer) {
    run([&](TFrm_Wizard& w) {
        tk.setCursorPos({w.bounds().left + centre(w.ImgWipe).x, w.bounds().top + centre(w.ImgWipe).y});
        tk.advance(99);
        EXPECT_EQ(w.mInfo.lines()[0], "提示: 点击功能按钮进入相应功能...");
        tk.advance(1);
        EXPECT_EQ(w.mInfo.lines()[0], std::string("友情提示: ") + LauncherTips[4]);
    });
}

TEST_F(StartUp, TheCleaningWindowIsKeptAndShownAgain) {
    std::vector<Form*> shown;
    tk.defaultModal = [&](Form& f) {
        if (f.name() == "TfrmCleaning")
            shown.push_back(&f);
    };
    run([&](TFrm_Wizard& w) {
        click(w.imgClean);
        ASSERT_NE(frmCleaning, nullptr);
        EXPECT_FALSE(frmCleaning->visible());
        click(w.imgClean);
        EXPECT_EQ(tk.destroyedCount("TfrmCleaning"), 0);
    });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], shown[1]);
    // It went with the start window, after the settings were saved, and its reference too.
    EXPECT_EQ(tk.destroyedCount("TfrmCleaning"), 1);
    EXPECT_EQ(frmCleaning, nullptr);
}

TEST_F(StartUp, TheOptionAndProgramWindowsAreNewAfterTheirFirstUse) {
    run([&](TFrm_Wizard& w) {
        TfrmOption* startUpInstance = frmOption;
        Form* firstShown = nullptr;
        tk.onModal("TfrmOption", [&](Form& f) { firstShown = &f; });
        click(w.ImgOption);
        EXPECT_EQ(firstShown, startUpInstance);
        EXPECT_EQ(frmOption, nullptr);
        EXPECT_EQ(tk.destroyedCount("TfrmOption"), 1);
        click(w.ImgOption);
        EXPECT_EQ(frmOption, nullptr);
        EXPECT_EQ(tk.destroyedCount("TfrmOption"), 2); // a second object, destroyed in turn

        click(w.ImgUninstall);
        click(w.ImgUninstall);
        EXPECT_EQ(frmUninstall, nullptr);
        EXPECT_EQ(tk.destroyedCount("TfrmUninstall"), 2);
    });
    EXPECT_EQ(tk.destroyedCount("TfrmOption"), 2);
    EXPECT_EQ(tk.destroyedCount("TfrmUninstall"), 2);
}

TEST_F(StartUp, TheAnalyzerAndWipeWindowsAreFreshEachTime) {
    run([&](TFrm_Wizard& w) {
        for (int i = 0; i < 2; ++i) {
            click(w.ImgDiag);
            click(w.ImgWipe);
        }
        EXPECT_EQ(Frm_Main, nullptr);
        EXPECT_EQ(frmWipe, nullptr);
        EXPECT_EQ(tk.destroyedCount("TFrm_Main"), 2);
        EXPECT_EQ(tk.destroyedCount("TfrmWipe"), 2);
    });
    EXPECT_EQ(tk.modalLog, (std::vector<std::string>{"TFrm_Main", "TfrmWipe", "TFrm_Main", "TfrmWipe"}));
}

TEST_F(StartUp, TheTipWindowOfTheStartIsShownAndKept) {
    run([&](TFrm_Wizard& w) {
        TFrm_Tips* tips = Frm_Tips;
        click(w.ImgHelp);
        click(w.ImgHelp);
        EXPECT_EQ(Frm_Tips, tips);
        EXPECT_EQ(tk.destroyedCount("TFrm_Tips"), 0);
    });
    EXPECT_EQ(tk.modalLog, (std::vector<std::string>{"TFrm_Tips", "TFrm_Tips"}));
}

TEST_F(StartUp, ACleanUpRunsAlsoWhenTheModalRunFails) {
    tk.defaultModal = [](Form&) { throw std::runtime_error("broken"); };
    run([&](TFrm_Wizard& w) {
        click(w.ImgOption);
        EXPECT_EQ(frmOption, nullptr);
        EXPECT_EQ(tk.destroyedCount("TfrmOption"), 1);
        click(w.ImgDiag);
        EXPECT_EQ(Frm_Main, nullptr);
        EXPECT_EQ(tk.destroyedCount("TFrm_Main"), 1);
        click(w.imgClean);
        ASSERT_NE(frmCleaning, nullptr);
        EXPECT_FALSE(frmCleaning->visible());
        EXPECT_FALSE(frmCleaning->inModalRun());
    });
    ASSERT_EQ(tk.messageBoxes.size(), 3u);
    for (const auto& m : tk.messageBoxes)
        EXPECT_EQ(m.text, "broken");
}

TEST_F(StartUp, TheStartWindowCarriesItsTexts) {
    TFrm_Wizard w;
    EXPECT_EQ(w.imgClean.hint(), "智能引擎支持下的快速垃圾文件清理...");
    EXPECT_EQ(w.ImgHelp.hint().rfind("每日技巧,", 0), 0u);
    EXPECT_EQ(w.Label1.caption(), "最近清理日期:");
    EXPECT_EQ(w.lDate.caption(), "2008-8-1  9:30:18");
    EXPECT_EQ(w.Label3.caption(), "版本号:");
    EXPECT_EQ(w.lVersion.caption(), "2008.8.1");
    EXPECT_EQ(w.Label6.caption(), "自动升级检查");
    EXPECT_FALSE(w.Label6.visible());
    EXPECT_TRUE(w.mInfo.readOnly());
    EXPECT_EQ(w.RzBalloonHints1.hintPause, 500);
    EXPECT_TRUE(w.Timer1.enabled());
    EXPECT_EQ(w.Timer1.interval(), 100);
    EXPECT_EQ(std::string(LauncherTips[0]), "点击功能按钮进入 ....");
}

TEST_F(StartUp, LaterWindowsCarryTheirCaptions) {
    EXPECT_EQ(TfrmCleaning().caption(), "磁盘垃圾文件清理");
    EXPECT_EQ(TFrm_Main().caption(), "WindowsKestrane --- 磁盘目录空间分析");
    EXPECT_EQ(TfrmOption().caption(), "高级选项");
    EXPECT_EQ(TfrmWipe().caption(), "上网安全及隐私保护");
    EXPECT_EQ(TFrm_Tips().caption(), "每日技巧");
    EXPECT_EQ(TFrm_About().caption(), "About...");
    EXPECT_EQ(TfrmUninstall().caption(), "应用程序管理 --- 卸载无用的工具能节省磁盘空间，提升你的电脑运行速度");
}
