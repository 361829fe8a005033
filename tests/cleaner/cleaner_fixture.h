#pragma once
// A cleaning window over a temporary machine with drives C: and D:, its own settings
// object (no patterns, no directories until a test adds them) and a headless toolkit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cleaner/cleaning_window.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace cleanertest {

struct CleanerTest : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    TSetting settings{folder.file("quorCleaner.cfg")};
    TfrmCleaning form;

    CleanerTest() {
        Setting = &settings;
        settings.Garbages.Clear();
        settings.Directorys.Clear();
        // Every entry gets its own chance to take a queued action, so stops are exact.
        form.PumpSliceMs = 0;
        form.Running = true;
    }
    ~CleanerTest() override { Setting = nullptr; }

    void pattern(const std::string& name, bool active = true) {
        TGarbage& g = settings.Garbages.Add();
        g.GarbageName = name;
        g.Ifclean = active;
    }
    void directory(const std::string& path, bool sub = true, bool clean = true) {
        TDirectory& d = settings.Directorys.Add();
        d.Path = path;
        d.IncludeSubDir = sub;
        d.IfClean = clean;
    }
    void file(const std::string& path, std::size_t bytes = 0) { machine.writeFile(path, std::string(bytes, 'x')); }
    // A file of `bytes` that takes no room on the disk.
    void sparse(const std::string& path, std::uintmax_t bytes) {
        std::filesystem::resize_file(machine.writeFile(path), bytes);
    }
    bool exists(const std::string& path) { return std::filesystem::exists(std::filesystem::symlink_status(machine.native(path))); }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (int i = 0; i < form.Lv_GarbageList.count(); ++i)
            out.push_back(form.Lv_GarbageList.item(i).caption);
        return out;
    }
    // Runs a whole scan as the start button's handler does, the summary answered.
    void scan() { form.ScanAll(&settings); }
    std::string lastMessage() const { return tk.messageBoxes.empty() ? std::string() : tk.messageBoxes.back().text; }
};

} // namespace cleanertest
