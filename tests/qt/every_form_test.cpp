// Every window of the program has a widget for each of its visual controls.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "app/analyzer_window.h"
#include "app/splash_window.h"
#include "app/start_window.h"
#include "cleaner/cleaning_window.h"
#include "info/about_window.h"
#include "info/tips_window.h"
#include "options/option_window.h"
#include "programs/uninstall_window.h"
#include "qt_app.h"
#include "settings/directory_dialog.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "wipe/wipe_window.h"

namespace {

using Make = std::function<std::unique_ptr<toolkit::Form>()>;

template <class F>
Make make() {
    return [] { return std::make_unique<F>(); };
}

// Each window the program can show. A new window joins this list.
const std::vector<std::pair<const char*, Make>>& programForms() {
    static const std::vector<std::pair<const char*, Make>> forms = {
        {"TFrm_Splash", make<TFrm_Splash>()},   {"TFrm_Wizard", make<TFrm_Wizard>()},
        {"TFrm_About", make<TFrm_About>()},     {"TfrmOption", make<TfrmOption>()},
        {"TFrm_Tips", make<TFrm_Tips>()},       {"TfrmUninstall", make<TfrmUninstall>()},
        {"TfrmCleaning", make<TfrmCleaning>()}, {"TFrm_Main", make<TFrm_Main>()},
        {"TfrmWipe", make<TfrmWipe>()},         {"TFolderBrowser", make<TFolderBrowser>()},
    };
    return forms;
}

} // namespace

TEST(EveryForm, EachVisualControlOfEveryWindowHasAWidgetOfItsName) {
    qttest::app();
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    qtui::QtToolkit tk;
    for (const auto& [name, makeForm] : programForms()) {
        SCOPED_TRACE(name);
        std::unique_ptr<toolkit::Form> form = makeForm();
        EXPECT_EQ(form->name(), name);
        qtui::FormWindow& w = tk.windowOf(*form);
        EXPECT_EQ(w.objectName().toStdString(), name);
        EXPECT_EQ(w.windowTitle().toStdString(), form->caption());
        std::vector<std::string> missing = w.unboundControls();
        EXPECT_TRUE(missing.empty()) << "controls without a widget: " << ::testing::PrintToString(missing);
        for (toolkit::Control* c : form->controls()) {
            QWidget* widget = w.widgetFor(*c);
            if (!widget)
                continue;
            const toolkit::Rect& r = c->bounds();
            EXPECT_EQ(widget->geometry(), QRect(r.left, r.top, r.width, r.height)) << c->name();
        }
    }
}

TEST(EveryForm, TheCheckFindsAControlWithoutAWidget) {
    qttest::app();
    qtui::QtToolkit tk;
    toolkit::Form f("TF");
    toolkit::Label fine(&f, "lFine");
    toolkit::Panel tree(&f, "tvNobodyDraws", toolkit::ControlKind::Custom);
    toolkit::BalloonHints hints(&f, "hints"); // not visual: needs no widget
    EXPECT_EQ(tk.windowOf(f).unboundControls(), (std::vector<std::string>{"tvNobodyDraws"}));
}
