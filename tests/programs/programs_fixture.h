#pragma once
// A program manager over a temporary machine: drive C: with a Windows folder, the
// machine's hive "system.reg" written by the test, the program's folder C:\Quor (where
// "kind.ini" goes), a clock that moves one second each time it is read, and a headless
// toolkit.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "programs/uninstall_window.h"
#include "support/program_folder.h"
#include "support/recorders.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace programstest {

// Times increase in the order the entries are read.
class TickingClock : public testsupport::FixedClock {
public:
    platform::FileTime now() override {
        platform::FileTime t = utcNow;
        utcNow += 10'000'000;
        return t;
    }
};

// A text as the export format writes it between double quotes.
inline std::string regText(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

// One uninstall entry: its key name and the two values (a missing value is left out).
inline std::string entry(const std::string& key, std::optional<std::string> displayName,
                         std::optional<std::string> uninstallString, const std::string& extraLines = "") {
    std::string s = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key + "]\r\n";
    if (displayName)
        s += "\"DisplayName\"=" + regText(*displayName) + "\r\n";
    if (uninstallString)
        s += "\"UninstallString\"=" + regText(*uninstallString) + "\r\n";
    return s + extraLines + "\r\n";
}

struct ProgramsTest : ::testing::Test {
    testsupport::TempMachine machine{"C"};
    std::optional<testsupport::ProgramFolderAt> folder;
    toolkit::HeadlessToolkit tk;
    TickingClock clock;
    platform::Services withoutClock;

    ProgramsTest() {
        machine.makeDir("C:\\WINDOWS\\System32");
        clock.utcNow = testsupport::FixedClock::fileTime(2008, 8, 1, 9, 30, 18);
        hive("");
        TfrmUninstall::SortColumn = 0;
        TfrmUninstall::SortDescending = true;
    }
    ~ProgramsTest() override {
        platform::install(withoutClock);
        folder.reset();
    }

    // Replaces the machine's hive with these sections ("" leaves no uninstall key at all).
    void hive(const std::string& sections) {
        if (folder) {
            platform::install(withoutClock);
            folder.reset();
        }
        std::ofstream(machine.root() / "system.reg", std::ios::binary) << "REGEDIT4\r\n\r\n" << sections;
        machine.reload();
        folder.emplace("C:\\Quor");
        withoutClock = platform::services();
        platform::Services s = withoutClock;
        s.clock = &clock;
        platform::install(s);
    }
    void kindFile(const std::string& text) { machine.writeFile("C:\\Quor\\kind.ini", text); }

    static std::vector<std::string> captions(const TfrmUninstall& form) {
        std::vector<std::string> out;
        for (int i = 0; i < form.Lv_UninstallList.count(); ++i)
            out.push_back(form.Lv_UninstallList.item(i).caption);
        return out;
    }
    static int rowOf(const TfrmUninstall& form, const std::string& caption) {
        for (int i = 0; i < form.Lv_UninstallList.count(); ++i)
            if (form.Lv_UninstallList.item(i).caption == caption)
                return i;
        return -1;
    }
    static std::vector<std::string> nodeTexts(const TfrmUninstall& form) {
        std::vector<std::string> out;
        for (const auto& node : form.tvFileType.roots())
            out.push_back(node->text);
        return out;
    }
};

} // namespace programstest
