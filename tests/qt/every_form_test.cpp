// Every window of the program has a widget for each of its visual controls.
#include <gtest/gtest.h>

#include <QAccessible>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "analyzer/analyzer_window.h"
#include "app/splash_window.h"
#include "app/start_window.h"
#include "cleaner/cleaning_window.h"
#include "info/about_window.h"
#include "info/tips_window.h"
#include "options/filter_editor.h"
#include "options/option_window.h"
#include "programs/uninstall_window.h"
#include "qt/control_binding.h"
#include "qt_app.h"
#include "app/directory_dialog.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "update/updater_forms.h"
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
        {"TfrmAddFilter", make<TfrmAddFilter>()},
        {"TupSelfUpdaterWizardForm", make<TupSelfUpdaterWizardForm>()},
        {"TupSelfUpdaterPasswordForm", make<TupSelfUpdaterPasswordForm>()},
        {"TupSelfUpdaterUpgradeMessageForm", make<TupSelfUpdaterUpgradeMessageForm>()},
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

// A screen reader names what the user can click and knows what it does: buttons and check
// boxes, and labels and pictures with a click event (the launchers), which are push
// buttons that answer the press action. Lists keep their table.
TEST(EveryForm, WhatTheUserCanClickHasAnAccessibleNameAndTheRoleOfWhatItDoes) {
    qttest::app();
    testsupport::TempMachine machine{"C"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    qtui::QtToolkit tk;
    int pressables = 0;
    for (const auto& [name, makeForm] : programForms()) {
        std::unique_ptr<toolkit::Form> form = makeForm();
        qtui::FormWindow& w = tk.windowOf(*form);
        for (toolkit::Control* c : form->controls()) {
            QWidget* widget = w.widgetFor(*c);
            if (!widget)
                continue;
            std::string what = std::string(name) + "." + c->name();
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(a, nullptr) << what;
            using toolkit::ControlKind;
            if (c->kind() == ControlKind::ListView) {
                EXPECT_NE(a->tableInterface(), nullptr) << what;
                continue;
            }
            bool pressable = (c->kind() == ControlKind::Label || c->kind() == ControlKind::Picture) && c->onClick;
            if (!pressable && c->kind() != ControlKind::Button && c->kind() != ControlKind::CheckBox)
                continue;
            EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << what;
            if (c->kind() == ControlKind::CheckBox) {
                EXPECT_EQ(a->role(), QAccessible::CheckBox) << what;
            } else {
                EXPECT_EQ(a->role(), QAccessible::Button) << what;
                ASSERT_NE(a->actionInterface(), nullptr) << what;
                if (!widget->isEnabled())
                    continue; // a disabled button has no action to offer
                EXPECT_TRUE(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()))
                    << what;
            }
            pressables += pressable;
        }
    }
    EXPECT_GE(pressables, 6); // the launchers at least
}

TEST(EveryForm, TheWalkKnowsEveryWindowClassOfTheProgram) {
    // Every class of the system that is a form, found in the sources.
    namespace fs = std::filesystem;
    const fs::path src = fs::path(QT_TESTCASE_SOURCEDIR) / ".." / "src";
    const std::regex formClass(R"(class\s+(\w+)\s*(?:final\s*)?:\s*public\s+toolkit::Form\b)");
    std::set<std::string> found;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        if (e.path().extension() != ".h" || e.path().string().find("/src/qt/") != std::string::npos)
            continue;
        std::ifstream in(e.path());
        std::stringstream text;
        text << in.rdbuf();
        std::string body = text.str();
        for (std::sregex_iterator m(body.begin(), body.end(), formClass), end; m != end; ++m)
            found.insert((*m)[1]);
    }
    ASSERT_FALSE(found.empty());
    std::set<std::string> walked;
    for (const auto& [name, makeForm] : programForms())
        walked.insert(name);
    for (const std::string& name : found)
        EXPECT_TRUE(walked.count(name)) << name << " is a window of the program: add it to programForms()";
}

TEST(EveryForm, TheCheckFindsAControlWithoutAWidget) {
    qttest::app();
    qtui::QtToolkit tk;
    toolkit::Form f("TF");
    toolkit::Label fine(&f, "lFine");
    toolkit::Panel tree(&f, "tvNobodyDraws", toolkit::ControlKind::Custom);
    toolkit::BalloonHints hints(&f, "hints"); // not visual: needs no widget
    EXPECT_EQ(tk.windowOf(f).unboundControls(), (std::vector<std::string>{"tvNobodyDraws"}));

    // A front-end piece of its own draws it once it is registered for the form and control.
    qtui::registerCustomWidget("TG", "tvNobodyDraws", [](toolkit::Control& c, QWidget* parent) {
        return std::make_unique<qtui::ControlBinding>(c, new QWidget(parent));
    });
    toolkit::Form g("TG");
    toolkit::Panel drawn(&g, "tvNobodyDraws", toolkit::ControlKind::Custom);
    drawn.setBounds(1, 2, 30, 40);
    EXPECT_TRUE(tk.windowOf(g).unboundControls().empty());
    EXPECT_EQ(tk.windowOf(g).widgetFor(drawn)->geometry(), QRect(1, 2, 30, 40));
}
