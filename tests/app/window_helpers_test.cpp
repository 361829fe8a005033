#include <gtest/gtest.h>

#include "app/window_helpers.h"
#include "platform/platform.h"
#include "support/temp_machine.h"
#include "toolkit/form.h"
#include "toolkit/headless_toolkit.h"

TEST(ShortPathOf, ShortFormOrTheTextLessItsQuote) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    tk.setApplicationTitle("QuorCleaner");
    m.writeFile("C:\\Program Files\\X\\unins000.exe");
    EXPECT_EQ(ShortPathOf("  C:\\Program Files\\X\\unins000.exe "), "C:\\Program Files\\X\\unins000.exe");
    EXPECT_TRUE(tk.messageBoxes.empty());
    // The system cannot shorten a quoted text: its error is shown, the quote dropped.
    EXPECT_EQ(ShortPathOf("\"C:\\Program Files\\X\\unins000.exe\""), "\"C:\\Program Files\\X\\unins000.exe");
    ASSERT_EQ(tk.messageBoxes.size(), 1u);
    EXPECT_EQ(tk.messageBoxes[0].text, "No such file or directory");
    EXPECT_EQ(tk.messageBoxes[0].caption, "QuorCleaner");
    EXPECT_EQ(ShortPathOf("C:\\nothing "), "C:\\nothing "); // blanks stay in the fallback
    // 65 characters fit in the room of 66; 66 do not, and give no message.
    std::string dir = "C:\\" + std::string(58, 'd');
    m.writeFile(dir + "\\a.exe");
    m.writeFile(dir + "\\ab.exe");
    tk.messageBoxes.clear();
    EXPECT_EQ(ShortPathOf(dir + "\\a.exe"), dir + "\\a.exe");
    EXPECT_EQ(ShortPathOf(dir + "\\ab.exe\""), dir + "\\ab.exe");
    EXPECT_EQ(ShortPathOf(dir + "\\ab.exe"), dir + "\\ab.exe");
    EXPECT_EQ(tk.messageBoxes.size(), 1u); // only for the quoted one, which does not exist
}

TEST(ApplicationWindows, HideToTheNotificationAreaAndShowMaximised) {
    toolkit::HeadlessToolkit tk;
    toolkit::Form main("TFrm_Wizard"), analyzer("TFrm_Main"), other("TFrm_Other");
    analyzer.setCaption(kAnalyzerWindowTitle);
    tk.setMainForm(&main);
    main.show();
    analyzer.show();
    other.show();
    HideApplicationWindows();
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(analyzer.visible());
    EXPECT_TRUE(other.visible());
    EXPECT_TRUE(tk.applicationHidden());
    // A caption that differs (one trailing blank less) is another window.
    analyzer.setCaption("Tessaly --- 2008Brisa ");
    toolkit::Form dialog("TFrm_Dialog");
    ShowApplicationWindows(&dialog);
    EXPECT_FALSE(analyzer.visible());
    EXPECT_TRUE(dialog.visible() && dialog.maximized);
    analyzer.setCaption(kAnalyzerWindowTitle);
    ShowApplicationWindows(&dialog);
    EXPECT_TRUE(analyzer.visible() && analyzer.maximized);
    EXPECT_FALSE(tk.applicationHidden());
    EXPECT_EQ(tk.restoreTopmostCalls, 2);
}

TEST(ShutdownComputer, TakesThePrivilegeThenPowersOff) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    // The installed machine service is the recorder: no test reaches the real power-off.
    ASSERT_EQ(&platform::machine(), &m.machine());
    m.machine().version = platform::OsVersion{5, 1, 2600, 2, "Service Pack 2"};
    ShutdownComputer();
    EXPECT_EQ(m.machine().calls, (std::vector<std::string>{"openProcessToken", "lookupPrivilegeValue SeShutdownPrivilege",
                                                           "adjustTokenPrivileges", "exitWindows 12"}));
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST(ShutdownComputer, AFailedStepShowsExitErrorAndStops) {
    struct Case {
        bool token, lookup;
        std::uint32_t adjustError;
        const char* title;
        size_t calls;
    } cases[] = {
        {false, true, 0, "OpenProcessToken() Failed", 1},
        {true, false, 0, "LookupPrivilegeValue() Failed", 2},
        {true, true, 1300, "AdjustTokenPrivileges() Failed", 3},
    };
    for (const auto& c : cases) {
        testsupport::TempMachine m;
        toolkit::HeadlessToolkit tk;
        m.machine().version = platform::OsVersion{5, 1, 2600, 2, ""};
        m.machine().tokenOpens = c.token;
        m.machine().privilegeFound = c.lookup;
        m.machine().adjustError = c.adjustError;
        ShutdownComputer();
        EXPECT_TRUE(m.machine().exitRequests.empty()) << c.title;
        EXPECT_EQ(m.machine().calls.size(), c.calls) << c.title;
        ASSERT_EQ(tk.messageBoxes.size(), 1u) << c.title;
        EXPECT_EQ(tk.messageBoxes[0].text, "Exit Error");
        EXPECT_EQ(tk.messageBoxes[0].caption, c.title);
        EXPECT_EQ(tk.messageBoxes[0].flags, unsigned(toolkit::MB_OK));
    }
    // Only the low 8 bits of the error code count.
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    m.machine().version = platform::OsVersion{5, 1, 2600, 2, ""};
    m.machine().adjustError = 0x100;
    ShutdownComputer();
    EXPECT_EQ(m.machine().exitRequests, std::vector<unsigned>{12});
}

TEST(ShutdownComputer, OlderSystemsShutDownWithoutPrivileges) {
    testsupport::TempMachine m;
    toolkit::HeadlessToolkit tk;
    m.machine().version = platform::OsVersion{4, 10, 2222, 1, "A"};
    ShutdownComputer();
    EXPECT_EQ(m.machine().calls, std::vector<std::string>{"exitWindows 5"});
    // The version of this machine as the platform reports it takes the privileged path.
    m.machine().version.reset();
    m.machine().calls.clear();
    ShutdownComputer();
    ASSERT_FALSE(m.machine().calls.empty());
    EXPECT_EQ(m.machine().calls[0], "openProcessToken");
}
