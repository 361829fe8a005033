// The program manager: the list read from the machine's uninstall entries, sorting, the
// categories in the tree and the start of the uninstallers.
#include <gtest/gtest.h>

#include "programs/uninstall.h"
#include "programs/uninstall_window.h"
#include "programs_fixture.h"

using programstest::entry;
using programstest::ProgramsTest;
using Strings = std::vector<std::string>;

namespace {

const std::string kZeroSize = "            0.00 KByte";

struct Row {
    std::string caption, location, size, uninstall;
    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& r, std::ostream* os) {
    *os << "{" << r.caption << " | " << r.location << " | " << r.size << " | " << r.uninstall << "}";
}

std::vector<Row> rows(const TfrmUninstall& form) {
    std::vector<Row> out;
    for (int i = 0; i < form.Lv_UninstallList.count(); ++i) {
        toolkit::ListItem it = form.Lv_UninstallList.item(i);
        EXPECT_EQ(it.subItems.size(), 4u);
        it.subItems.resize(4);
        out.push_back({it.caption, it.subItems[0], it.subItems[1], it.subItems[3]});
    }
    return out;
}

} // namespace

TEST_F(ProgramsTest, ListsEveryEntryWithAnUninstallCommandInTheRegistrysOrder) {
    machine.writeFile("C:\\Programs\\Alpha\\uninst.exe", std::string(2048, 'x'));
    machine.writeFile("C:\\Programs\\Alpha\\sub\\data.bin", std::string(1024, 'x'));
    machine.makeDir("C:\\Programs\\Q");
    hive(entry("Alpha", "Alpha Tool", "C:\\Programs\\Alpha\\uninst.exe") +
         entry("BlankName", "   ", "C:\\Programs\\Blank\\u.exe") +
         entry("EmptyCommand", "Empty", "  ") +
         entry("NoCommand", "No Command", std::nullopt) +
         entry("Missing", "Missing Folder", "C:\\Nowhere\\u.exe") +
         entry("NoFolder", "Installer Package", "MsiExec.exe /X{1234}") +
         entry("Quoted", "Quoted", "\"C:\\Programs\\Q\\uninst.exe\"") +
         entry("QuotedArgs", "Quoted With Arguments", "\"C:\\Programs\\Q R\\u.exe\" /S \"log file\"") +
         entry("WrongType", std::nullopt, "C:\\x\\u.exe", "\"DisplayName\"=dword:00000001\r\n") +
         entry("zeta", "Zeta", "C:\\Zeta\\u.exe") +
         // Installer components: skipped, and the walk goes on with the names after them.
         entry("{90110804-6000-11D3-8CFE-0150048383C9}", "Component", "C:\\c\\u.exe") +
         entry("暴风影音", std::nullopt, "C:\\Program Files\\Storm\\uninst.exe") +
         entry("金山词霸", "金山词霸 2007", "C:\\Program Files\\Kingsoft\\uninst.exe"));
    TfrmUninstall form;
    form.FormShow();

    EXPECT_EQ(rows(form), (std::vector<Row>{
                              {"Alpha Tool", "C:\\Programs\\Alpha\\", "            3.00 KByte",
                               "C:\\Programs\\Alpha\\uninst.exe"},
                              {"BlankName", "C:\\Programs\\Blank\\", kZeroSize, "C:\\Programs\\Blank\\u.exe"},
                              {"Missing Folder", "C:\\Nowhere\\", kZeroSize, "C:\\Nowhere\\u.exe"},
                              {"Installer Package", "", kZeroSize, "MsiExec.exe /X{1234}"},
                              {"Quoted", "C:\\Programs\\Q\\", kZeroSize, "C:\\Programs\\Q\\uninst.exe"},
                              {"Quoted With Arguments", "C:\\Programs\\Q R\\", kZeroSize,
                               "C:\\Programs\\Q R\\u.exe /S \"log file\""},
                              {"Zeta", "C:\\Zeta\\", kZeroSize, "C:\\Zeta\\u.exe"},
                              {"暴风影音", "C:\\Program Files\\Storm\\", kZeroSize,
                               "C:\\Program Files\\Storm\\uninst.exe"},
                              {"金山词霸 2007", "C:\\Program Files\\Kingsoft\\", kZeroSize,
                               "C:\\Program Files\\Kingsoft\\uninst.exe"},
                          }));
    // Each entry carries the time it was read; nothing is ticked.
    EXPECT_EQ(form.Lv_UninstallList.item(0).subItems[2], "8/1/2008 9:30:18");
    EXPECT_EQ(form.Lv_UninstallList.item(1).subItems[2], "8/1/2008 9:30:19");
    for (int i = 0; i < form.Lv_UninstallList.count(); ++i)
        EXPECT_FALSE(form.Lv_UninstallList.item(i).checked);
    // Without a keyword file every listed program is in the last category.
    Strings nodes = nodeTexts(form);
    ASSERT_EQ(nodes.size(), 20u);
    EXPECT_EQ(nodes[0], "编程开发(0)");
    EXPECT_EQ(nodes[19], "其它分类(9)");
    EXPECT_EQ(tk.cursor(), toolkit::Cursor::Default);
}

TEST_F(ProgramsTest, AMissingUninstallKeyGivesAnEmptyListAndIsNotCreated) {
    hive("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n\r\n");
    TfrmUninstall form;
    form.FormShow();
    EXPECT_EQ(form.Lv_UninstallList.count(), 0);
    EXPECT_FALSE(platform::registry().openKey(platform::RegistryRoot::LocalMachine, TfrmUninstall::kUninstallKey));
    Strings nodes = nodeTexts(form);
    ASSERT_EQ(nodes.size(), 20u);
    EXPECT_EQ(nodes[1], "系统工具(0)");
    EXPECT_EQ(nodes[19], "其它分类(0)");
}

TEST_F(ProgramsTest, EachColumnClickSortsAndTurnsTheDirectionForEveryWindow) {
    // Read in the order Bravo, Alpha, Charlie: sizes 2, 1 and 3 KByte.
    machine.writeFile("C:\\P\\Z2\\u.exe", std::string(2048, 'x'));
    machine.writeFile("C:\\P\\X1\\u.exe", std::string(1024, 'x'));
    machine.writeFile("C:\\P\\Y3\\u.exe", std::string(3072, 'x'));
    hive(entry("k1", "Bravo", "C:\\P\\Z2\\u.exe") + entry("k2", "alpha", "C:\\P\\X1\\u.exe") +
         entry("k3", "Charlie", "C:\\P\\Y3\\u.exe"));
    struct Step {
        const char* label;
        int column;
        Strings order;
    } steps[] = {
        {"size, descending", 2, {"Charlie", "Bravo", "alpha"}},
        {"size again, ascending", 2, {"alpha", "Bravo", "Charlie"}},
        {"name continues: descending", 0, {"Charlie", "Bravo", "alpha"}},
        {"not a column: nothing changes", 4, {"Charlie", "Bravo", "alpha"}},
        {"not a column either", -1, {"Charlie", "Bravo", "alpha"}},
        {"time, ascending: the order read", 3, {"Bravo", "alpha", "Charlie"}},
        {"location, descending", 1, {"Bravo", "Charlie", "alpha"}},
    };
    {
        TfrmUninstall form;
        form.FormShow();
        EXPECT_EQ(captions(form), (Strings{"Bravo", "alpha", "Charlie"})) << "left in the order read";
        for (const Step& s : steps) {
            form.Lv_UninstallList.userColumnClick(s.column);
            EXPECT_EQ(captions(form), s.order) << s.label;
        }
    }
    // The next window goes on from there: its first click sorts ascending.
    TfrmUninstall next;
    next.FormShow();
    next.Lv_UninstallList.userColumnClick(0);
    EXPECT_EQ(captions(next), (Strings{"alpha", "Bravo", "Charlie"}));
}

TEST_F(ProgramsTest, CategoriesCountTheirProgramsAndANodeListsOnlyItsOwn) {
    kindFile("\r\ntool\r\n\r\n\r\nchat,tool\r\n");
    machine.writeFile("C:\\b\\u.exe");
    hive(entry("a", "Alpha Tool", "C:\\a\\u.exe") + entry("b", "Chat Client", "C:\\b\\u.exe") +
         entry("c", "Chat Tool", "C:\\c\\u.exe") + entry("d", "Delta", "C:\\d\\u.exe") +
         entry("e", "Echo", "C:\\e\\u.exe"));
    TfrmUninstall form;
    form.FormShow();
    Strings nodes = nodeTexts(form);
    EXPECT_EQ(nodes[0], "编程开发(0)");
    EXPECT_EQ(nodes[1], "系统工具(2)");
    EXPECT_EQ(nodes[4], "聊天工具(1)");
    EXPECT_EQ(nodes[19], "其它分类(2)");
    ASSERT_EQ(form.Kinds()->KindAt(1)->ProgramCount(), 2);

    auto choose = [&](int node) { form.tvFileType.select(form.tvFileType.roots()[size_t(node)].get()); };
    choose(19);
    EXPECT_EQ(captions(form), (Strings{"Delta", "Echo"}));
    choose(1);
    EXPECT_EQ(captions(form), (Strings{"Alpha Tool", "Chat Tool"}));
    toolkit::ListItem row = form.Lv_UninstallList.item(1);
    EXPECT_EQ(row.subItems, (Strings{"C:\\c\\", kZeroSize, "8/1/2008 9:30:20", "C:\\c\\u.exe"}));
    EXPECT_FALSE(row.checked);
    form.tvFileType.select(nullptr);
    EXPECT_EQ(form.Lv_UninstallList.count(), 0);

    // An uninstalled program stays in its category until the window reads the list again.
    choose(4);
    form.Lv_UninstallList.userToggleCheck(0);
    form.Btn_Uninstall.click();
    EXPECT_EQ(form.Lv_UninstallList.count(), 0);
    choose(1);
    choose(4);
    EXPECT_EQ(captions(form), (Strings{"Chat Client"}));

    // Shown again, the window counts what the registry holds now.
    hive(entry("a", "Alpha Tool", "C:\\a\\u.exe"));
    form.FormShow();
    EXPECT_EQ(captions(form), (Strings{"Alpha Tool"}));
    nodes = nodeTexts(form);
    EXPECT_EQ(nodes[1], "系统工具(1)");
    EXPECT_EQ(nodes[4], "聊天工具(0)");
    EXPECT_EQ(form.tvFileType.selected(), nullptr);
}

TEST_F(ProgramsTest, AHiveAndAKeywordFileFromAChineseSystemAreReadAsGbk) {
    // "影音" and "暴风影音" in GBK.
    kindFile("\r\n\r\n\r\n\r\n\r\n\xd3\xb0\xd2\xf4\r\n");
    hive(entry("Storm", "\xb1\xa9\xb7\xe7\xd3\xb0\xd2\xf4", "C:\\Storm\\uninst.exe"));
    TfrmUninstall form;
    form.FormShow();
    EXPECT_EQ(captions(form), (Strings{"暴风影音"}));
    EXPECT_EQ(nodeTexts(form)[5], "影音播放(1)");
}

TEST_F(ProgramsTest, UninstallStartsTheTickedProgramsWithTheirArgumentsAndDropsTheirRows) {
    machine.writeFile("C:\\Program Files\\Alpha\\unins000.exe");
    machine.writeFile("C:\\Program Files\\Beta Soft\\uninst.exe");
    machine.writeFile("C:\\WINDOWS\\System32\\msiexec.exe");
    hive(entry("a", "Alpha", "\"C:\\Program Files\\Alpha\\unins000.exe\" /SILENT") +
         entry("b", "Beta", "C:\\Program Files\\Beta Soft\\uninst.exe /S") +
         entry("c", "Gamma", "MsiExec.exe /X{3A5B} REBOOT=\"Really Suppress\""));
    TfrmUninstall form;
    form.FormShow();
    form.Lv_UninstallList.userToggleCheck(0);
    form.Lv_UninstallList.userToggleCheck(1);
    form.Btn_Uninstall.click();

    auto& runs = machine.shell().runs;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].program, "C:\\Program Files\\Alpha\\unins000.exe");
    EXPECT_EQ(runs[0].arguments, (Strings{"/SILENT"}));
    EXPECT_EQ(runs[1].program, "C:\\Program Files\\Beta Soft\\uninst.exe");
    EXPECT_EQ(runs[1].arguments, (Strings{"/S"}));
    EXPECT_EQ(captions(form), (Strings{"Gamma"}));
    EXPECT_TRUE(machine.shell().requests.empty()) << "nothing goes to the desktop's opener";
    EXPECT_EQ(form.Sb_status.simpleText(), "");

    // A bare program name is the system's own, from the Windows folder.
    form.Lv_UninstallList.userToggleCheck(0);
    form.Btn_Uninstall.click();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[2].program, "C:\\WINDOWS\\System32\\msiexec.exe");
    EXPECT_EQ(runs[2].arguments, (Strings{"/X{3A5B}", "REBOOT=Really Suppress"}));
    EXPECT_EQ(form.Lv_UninstallList.count(), 0);

    // With nothing ticked nothing starts.
    form.FormShow();
    form.Btn_Uninstall.click();
    EXPECT_EQ(runs.size(), 3u);
    EXPECT_EQ(form.Lv_UninstallList.count(), 3);
}

TEST_F(ProgramsTest, AnUninstallerThatCannotStartKeepsItsRowAndTheStatusBarSaysWhy) {
    machine.writeFile("C:\\Program Files\\Alpha\\unins000.exe", "MZ");
    hive(entry("a", "Alpha", "\"C:\\Program Files\\Alpha\\unins000.exe\"") +
         entry("b", "Beta", "C:\\Program Files\\Gone\\uninst.exe /S") + entry("c", "Gamma", "NoSuchTool.exe /x"));
    TfrmUninstall form;
    form.FormShow();
    machine.shell().runResult = {false, "It is not a program."};

    form.Lv_UninstallList.userToggleCheck(0);
    form.Btn_Uninstall.click();
    EXPECT_EQ(machine.shell().runs.size(), 1u);
    EXPECT_EQ(captions(form), (Strings{"Alpha", "Beta", "Gamma"}));
    EXPECT_TRUE(form.Lv_UninstallList.item(0).checked);
    EXPECT_EQ(form.Sb_status.simpleText(), "卸载程序未能启动: [Alpha] It is not a program.");

    // Files that are not there are not handed on at all.
    form.Lv_UninstallList.userToggleCheck(0);
    form.Lv_UninstallList.userToggleCheck(1);
    form.Lv_UninstallList.userToggleCheck(2);
    form.Btn_Uninstall.click();
    EXPECT_EQ(machine.shell().runs.size(), 1u);
    EXPECT_EQ(captions(form), (Strings{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(form.Sb_status.simpleText(),
              "2 个卸载程序未能启动, 最后一个: [Gamma] Cannot run \"NoSuchTool.exe\". It is neither in the Windows "
              "folder nor in its \"system32\".");
}

TEST_F(ProgramsTest, AnUninstallCommandNamesItsProgramAndArguments) {
    machine.writeFile("C:\\Program Files\\X Y\\uninst.exe");
    machine.writeFile("C:\\Tools\\setup.exe");
    machine.writeFile("C:\\WINDOWS\\IsUninst.exe");
    machine.writeFile("C:\\WINDOWS\\System32\\RunDll32.exe");
    struct Case {
        const char* label;
        std::string command;
        bool ok;
        std::string program;
        Strings arguments;
        std::string why;
    } cases[] = {
        {"quoted path, arguments after it", "\"C:\\Program Files\\X Y\\uninst.exe\" /S /D=x", true,
         "C:\\Program Files\\X Y\\uninst.exe", {"/S", "/D=x"}, ""},
        {"unquoted path with blanks", "  C:\\Program Files\\X Y\\uninst.exe /S  ", true,
         "C:\\Program Files\\X Y\\uninst.exe", {"/S"}, ""},
        {"an extension left off", "C:\\Tools\\setup -u", true, "C:\\Tools\\setup.exe", {"-u"}, ""},
        {"a bare name from system32, any case", "rundll32.exe C:\\x.dll,Remove", true,
         "C:\\WINDOWS\\System32\\RunDll32.exe", {"C:\\x.dll,Remove"}, ""},
        {"a bare name from the Windows folder", "IsUninst -f\"C:\\P Q\\log.isu\"", true, "C:\\WINDOWS\\IsUninst.exe",
         {"-fC:\\P Q\\log.isu"}, ""},
        {"quotes and backslashes in arguments", "\"C:\\Tools\\setup.exe\" \"a \"\"b\"\"\" c\\\"d e\\\\\"f g\"", true,
         "C:\\Tools\\setup.exe", {"a \"b\"", "c\"d", "e\\f g"}, ""},
        {"an unclosed quote", "\"C:\\Tools\\setup.exe", true, "C:\\Tools\\setup.exe", {}, ""},
        {"a missing quoted file", "\"C:\\Gone\\u.exe\" /S", false, "", {},
         "Cannot run \"C:\\Gone\\u.exe\". No such file."},
        {"a missing unquoted file", "C:\\Gone Away\\u.exe /S", false, "", {},
         "Cannot run \"C:\\Gone Away\\u.exe /S\". No such file."},
        {"a path without a drive", "bin\\u.exe /S", false, "", {}, "Cannot run \"bin\\u.exe\". It names no drive."},
        {"blank", "   ", false, "", {}, "The uninstall command is empty."},
    };
    for (const Case& c : cases) {
        platform::ProgramRun run;
        std::string why;
        EXPECT_EQ(UninstallRun(c.command, run, why), c.ok) << c.label;
        EXPECT_EQ(run.program, c.program) << c.label;
        EXPECT_EQ(run.arguments, c.arguments) << c.label;
        EXPECT_EQ(why, c.why) << c.label;
    }
}

TEST(UninstallTexts, UnquoteLocationAndSize) {
    struct Case {
        const char* label;
        std::string stored, unquoted, location;
    } cases[] = {
        {"a fully quoted path loses both quotes", "\"C:\\A\\u.exe\"", "C:\\A\\u.exe", "C:\\A\\"},
        {"arguments after a quoted path stay", "\"C:\\A B\\u.exe\" /S \"x\"", "C:\\A B\\u.exe /S \"x\"", "C:\\A B\\"},
        {"an unclosed quote loses only itself", "\"C:\\A\\u.exe", "C:\\A\\u.exe", "C:\\A\\"},
        {"a quote not first stays", " \"C:\\A\\u.exe\"", " \"C:\\A\\u.exe\"", " \"C:\\A\\"},
        {"a drive without a folder", "C:u.exe", "C:u.exe", "C:"},
        {"no folder at all", "u.exe /S", "u.exe /S", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnquoteUninstallString(c.stored), c.unquoted) << c.label;
        EXPECT_EQ(LocationOf(c.unquoted), c.location) << c.label;
    }
    EXPECT_EQ(SizeText(0), "            0.00 KByte");
    EXPECT_EQ(SizeText(1.5), "            1.50 KByte");
    EXPECT_EQ(SizeText(12345678.999), "     12345679.00 KByte");
}
