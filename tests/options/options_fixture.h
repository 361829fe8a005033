#pragma once
// An options window over a temporary machine, its own settings object (no patterns, the
// directories of the machine's drives) and a headless toolkit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/directory_dialog.h"
#include "options/option_window.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace optionstest {

using Strings = std::vector<std::string>;

struct OptionsTest : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    TSetting settings{folder.file("quorCleaner.cfg")};
    TfrmOption form;

    OptionsTest() {
        Setting = &settings;
        settings.Garbages.Clear();
    }
    ~OptionsTest() override { Setting = nullptr; }

    void pattern(const std::string& name, const std::string& memo, bool active) {
        TGarbage& g = settings.Garbages.Add();
        g.GarbageName = name;
        g.Memo = memo;
        g.Ifclean = active;
    }
    static void press(toolkit::Control& c) {
        toolkit::dispatch([&] { c.click(); });
    }
    // The folder picker's next run chooses `folder` (nothing: the user cancels).
    void pick(std::optional<std::string> chosen) {
        tk.onModal("TFolderBrowser", [chosen](toolkit::Form& f) {
            auto& b = static_cast<TFolderBrowser&>(f);
            if (!chosen) {
                b.btnCancel.click();
                return;
            }
            ASSERT_TRUE(b.SelectFolder(*chosen)) << *chosen;
            b.btnOK.click();
        });
    }
    Strings dirPaths() const {
        Strings out;
        for (const TDirectory& d : settings.Directorys)
            out.push_back(d.Path);
        return out;
    }
    Strings dirRows() const {
        Strings out;
        for (int i = 0; i < form.Lv_DirList.count(); ++i)
            out.push_back(form.Lv_DirList.item(i).caption);
        return out;
    }
    Strings ignoreRows() const {
        Strings out;
        for (int i = 0; i < form.lbIgnoreList.count(); ++i)
            out.push_back(form.lbIgnoreList.item(i).caption);
        return out;
    }
    std::string ignoreFile() const { return machine.readFile(folder.file("Option2.CFG")); }
    // The settings as the next start reads them from disk.
    std::unique_ptr<TSetting> saved() const { return std::make_unique<TSetting>(folder.file("quorCleaner.cfg")); }
};

} // namespace optionstest
