// The privacy wipe on a temporary machine: the window, its steps and the folders they empty.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "settings/setting.h"
#include "support/program_folder.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"
#include "wipe/wipe_steps.h"
#include "wipe/wipe_window.h"

namespace fs = std::filesystem;

namespace {

const char* const kLocalSettings = "C:\\Documents and Settings\\u\\Local Settings";
const char* const kProfile = "C:\\Documents and Settings\\u";

// Every folder a step works on, by the step's letter.
const std::map<char, std::vector<std::string>>& traceFolders() {
    static const std::map<char, std::vector<std::string>> folders = {
        {'A', {"C:\\WINDOWS\\Temporary Internet Files", std::string(kLocalSettings) + "\\Temporary Internet Files"}},
        {'B', {"C:\\WINDOWS\\History", std::string(kLocalSettings) + "\\History"}},
        {'C', {"C:\\WINDOWS\\cookies", std::string(kProfile) + "\\cookies"}},
        {'D', {"C:\\WINDOWS\\Recent", std::string(kProfile) + "\\Recent"}},
        {'E', {"D:\\tmpdir", "C:\\TEMP"}},
    };
    return folders;
}

// A UNIX socket bound at `path`, open for as long as the object lives.
struct BoundSocket {
    int fd = -1;
    explicit BoundSocket(const fs::path& path) {
        fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::string p = path.string();
        if (p.size() < sizeof a.sun_path)
            p.copy(a.sun_path, p.size());
        if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~BoundSocket() {
        if (fd >= 0)
            ::close(fd);
    }
};

struct WipeTest : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    testsupport::ProgramFolderAt folder{"C:\\Quor"};
    toolkit::HeadlessToolkit tk;
    TSetting settings{folder.file("quorCleaner.cfg")};

    WipeTest() {
        std::ofstream(machine.root() / "user.reg")
            << "Windows Registry Editor Version 5.00\n\n"
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
               "\"Local Settings\"=\"C:\\\\Documents and Settings\\\\u\\\\Local Settings\"\n";
        machine.makeDir("C:\\WINDOWS");
        machine.reload();
        machine.setEnvironment("TMPDIR", machine.native("D:\\tmpdir").string());
        Setting = &settings;
        tickOnly({});
    }
    ~WipeTest() override { Setting = nullptr; }

    void tickOnly(const std::set<int>& items) {
        auto props = TfrmWipe::ItemProperties();
        for (int i = 0; i < TfrmWipe::ItemCount; ++i)
            settings.*props[size_t(i)] = items.count(i) != 0;
    }
    // A file and a subfolder with a file in each trace folder.
    void fillTraces() {
        for (const auto& [step, folders] : traceFolders())
            for (const std::string& f : folders) {
                machine.writeFile(f + "\\trace.txt", "x");
                machine.writeFile(f + "\\sub\\deeper.txt", "x");
            }
    }
    bool exists(const std::string& path) { return fs::exists(fs::symlink_status(machine.native(path))); }
    bool emptyFolder(const std::string& path) {
        return fs::is_directory(machine.native(path)) && fs::is_empty(machine.native(path));
    }
    void run() {
        TfrmWipe w;
        w.btnClean.click();
    }
};

} // namespace

TEST_F(WipeTest, EachItemEmptiesTheFoldersOfItsStepAndNoOthers) {
    struct Case {
        const char* label;
        int item;
        char step;
    };
    const Case cases[] = {
        {"temporary internet files", 0, 'A'}, {"history", 1, 'B'},      {"cookies", 2, 'C'},
        {"recent documents", 3, 'D'},         {"find history", 4, 'D'}, {"run history", 5, 'D'},
        {"temporary folders", 6, 'E'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fillTraces();
        tickOnly({c.item});
        run();
        for (const auto& [step, folders] : traceFolders())
            for (const std::string& f : folders) {
                SCOPED_TRACE(f);
                if (step == c.step) {
                    EXPECT_TRUE(emptyFolder(f)) << "the folder itself stays, emptied";
                } else {
                    EXPECT_TRUE(exists(f + "\\trace.txt"));
                    EXPECT_TRUE(exists(f + "\\sub\\deeper.txt"));
                }
            }
    }
}

TEST_F(WipeTest, WithNothingTickedTheBarStillRunsFromOneToNineAndNothingGoes) {
    fillTraces();
    TfrmWipe w;
    std::vector<int> positions;
    w.pb_Wipe.subscribe([&](toolkit::Control&, toolkit::Property p) {
        if (p == toolkit::Property::Position)
            positions.push_back(w.pb_Wipe.position());
    });
    w.btnClean.click();
    EXPECT_EQ(w.pb_Wipe.max(), 9);
    EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    for (const auto& [step, folders] : traceFolders())
        for (const std::string& f : folders)
            EXPECT_TRUE(exists(f + "\\trace.txt")) << f;
    EXPECT_EQ(machine.shell().emptyRecycleBinsCalls, 0);
    EXPECT_EQ(tk.cursor(), toolkit::Cursor::Default);
}

TEST_F(WipeTest, EveryStepShowsTheHourglassWhileItRunsAndTheRunEndsWithTheDefaultCursor) {
    tickOnly({0, 1, 2, 3, 6, 7});
    run();
    int hourglasses = 0;
    for (toolkit::Cursor c : tk.cursorLog)
        hourglasses += c == toolkit::Cursor::Hourglass;
    EXPECT_EQ(hourglasses, 1 + 6); // the run's and one per step
    EXPECT_EQ(tk.cursor(), toolkit::Cursor::Default);
}

TEST_F(WipeTest, AFileTheSystemRefusesStaysWhileItsNeighboursAndReadOnlyTreesGo) {
    const std::string recent = "C:\\WINDOWS\\Recent";
    machine.writeFile(recent + "\\a.lnk", "x");
    fs::path held = machine.writeFile(recent + "\\held.lnk", "x");
    machine.writeFile(recent + "\\z.lnk", "x");
    fs::path ro = machine.writeFile(recent + "\\sub\\inner\\readonly.txt", "x");
    fs::permissions(ro, fs::perms::owner_read);
    fs::permissions(ro.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    std::ifstream holding(held); // a running program holds it open
    ASSERT_TRUE(holding.is_open());

    WipeFolderContents(recent);
    EXPECT_TRUE(exists(recent + "\\held.lnk"));
    EXPECT_FALSE(exists(recent + "\\a.lnk"));
    EXPECT_FALSE(exists(recent + "\\z.lnk"));
    EXPECT_FALSE(exists(recent + "\\sub"));
    EXPECT_TRUE(exists(recent));

    holding.close();
    WipeFolderContents(recent);
    EXPECT_TRUE(emptyFolder(recent)) << "closed, it goes like any other";
}

TEST_F(WipeTest, ALinkInsideIsRemovedItselfAndItsTargetIsNeverEntered) {
    machine.writeFile("D:\\keep\\precious.txt", "x");
    fs::path recent = machine.makeDir("C:\\WINDOWS\\Recent");
    fs::create_directory_symlink(machine.native("D:\\keep"), recent / "dirlink");
    fs::create_symlink(machine.native("D:\\keep\\precious.txt"), recent / "filelink");
    WipeFolderContents("C:\\WINDOWS\\Recent");
    EXPECT_TRUE(emptyFolder("C:\\WINDOWS\\Recent"));
    EXPECT_TRUE(exists("D:\\keep\\precious.txt"));
}

TEST_F(WipeTest, AMissingOrEmptyFolderIsNothingToDo) {
    WipeFolderContents("C:\\nowhere");
    WipeFolderContents("");
    machine.makeDir("C:\\empty");
    WipeFolderContents("C:\\empty");
    EXPECT_TRUE(emptyFolder("C:\\empty"));
}

TEST(ProfileFolder, IsTheLocalSettingsFolderLessItsLast15Characters) {
    struct Case {
        const char* label;
        std::string localSettings, profile;
    };
    const Case cases[] = {
        {"the usual value", "C:\\Documents and Settings\\u\\Local Settings", "C:\\Documents and Settings\\u"},
        {"another last part is cut all the same", "D:\\Profiles\\someone\\AppData\\Local", "D:\\Profiles\\someon"},
        {"exactly 15 characters", "\\Local Settings", ""},
        {"16 characters", "C\\Local Settings", "C"},
        {"shorter", "C:\\x", ""},
        {"empty", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProfileFolderOf(c.localSettings), c.profile) << c.label;
}

TEST_F(WipeTest, AProfileFolderCutFromAnUnusualValueIsUsedAsFarAsItsFoldersExist) {
    std::ofstream(machine.root() / "user.reg")
        << "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\n"
           "\"Local Settings\"=\"C:\\\\Prof\\\\AppData\\\\Local!\"\n";
    machine.reload();
    EXPECT_EQ(TWipeFolders::FromSystem().ProfileFolder, "C:\\Prof");
    machine.writeFile("C:\\Prof\\cookies\\c.txt", "x");
    machine.writeFile("C:\\Prof\\Recent\\r.lnk", "x");
    machine.writeFile("C:\\Prof\\other.txt", "x");
    tickOnly({2, 3});
    run();
    EXPECT_TRUE(emptyFolder("C:\\Prof\\cookies"));
    EXPECT_TRUE(emptyFolder("C:\\Prof\\Recent"));
    EXPECT_TRUE(exists("C:\\Prof\\other.txt"));
}

TEST_F(WipeTest, TheSystemTemporaryPathEndsInASeparatorAndItsEntriesAreStillFound) {
    std::string temp = platform::machine().temporaryPath();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), '\\');
    machine.writeFile(temp + "one.tmp", "x");
    machine.writeFile(temp + "dir\\two.tmp", "x");
    WipeTemporaryFolders(TWipeFolders::FromSystem());
    EXPECT_TRUE(emptyFolder(temp));
}

TEST_F(WipeTest, TheTemporaryStepLeavesOpenFilesSocketsPipesAndWhatBelongsToOthers) {
    const std::string tmp = "D:\\tmpdir";
    machine.writeFile(tmp + "\\mine.tmp", "x");
    fs::path held = machine.writeFile(tmp + "\\held.tmp", "x");
    std::ifstream holding(held);
    ASSERT_TRUE(holding.is_open());
    machine.makeDir(tmp + "\\mux");
    BoundSocket socket(machine.native(tmp + "\\mux\\default"));
    ASSERT_GE(socket.fd, 0);
    machine.writeFile(tmp + "\\mux\\log.txt", "x");
    ASSERT_EQ(::mkfifo(machine.native(tmp + "\\pipe").c_str(), 0600), 0);
    bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        // As another user would leave them: a file, and a service's private folder.
        fs::path other = machine.writeFile(tmp + "\\others.tmp", "x");
        ASSERT_EQ(::lchown(other.c_str(), 65534, 65534), 0);
        fs::path service = machine.writeFile(tmp + "\\service-private\\tmp\\state", "x");
        ASSERT_EQ(::lchown(service.parent_path().parent_path().c_str(), 65534, 65534), 0);
    }

    tickOnly({6});
    run();
    EXPECT_FALSE(exists(tmp + "\\mine.tmp"));
    EXPECT_TRUE(exists(tmp + "\\held.tmp"));
    EXPECT_TRUE(exists(tmp + "\\mux\\default")) << "a running program's socket";
    EXPECT_FALSE(exists(tmp + "\\mux\\log.txt")) << "its folder's other files go";
    EXPECT_TRUE(exists(tmp + "\\pipe"));
    if (asRoot) {
        EXPECT_TRUE(exists(tmp + "\\others.tmp"));
        EXPECT_TRUE(exists(tmp + "\\service-private\\tmp\\state"));
    } else {
        GTEST_SKIP() << "entries of another owner need the right to change owners";
    }
}

TEST_F(WipeTest, OnlyTheTemporaryStepAsksWhoseAnEntryIs) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "entries of another owner need the right to change owners";
    fs::path other = machine.writeFile("C:\\WINDOWS\\Recent\\others.lnk", "x");
    ASSERT_EQ(::lchown(other.c_str(), 65534, 65534), 0);
    WipeRecentFolders(TWipeFolders::FromSystem());
    EXPECT_FALSE(exists("C:\\WINDOWS\\Recent\\others.lnk"));
}

TEST_F(WipeTest, ATmpDirThatNamesAWholeDriveIsNotEmptied) {
    machine.writeFile("D:\\data.txt", "x");
    for (const std::string& value : {std::string("D:\\"), machine.drive('D').string(), machine.drive('D').string() + "/"}) {
        SCOPED_TRACE(value);
        machine.setEnvironment("TMPDIR", value);
        WipeTemporaryFolders(TWipeFolders::FromSystem());
        EXPECT_TRUE(exists("D:\\data.txt"));
    }
}

TEST_F(WipeTest, TheRecycleBinStepEmptiesTheMachinesTrashesAndNothingElse) {
    fs::path homeTrash = machine.home() / ".local/share/Trash";
    fs::create_directories(homeTrash / "files/folder");
    std::ofstream(homeTrash / "files/old.txt") << "x";
    std::ofstream(homeTrash / "files/folder/inner.txt") << "x";
    fs::create_directories(homeTrash / "info");
    std::ofstream(homeTrash / "info/old.txt.trashinfo") << "[Trash Info]\n";
    std::ofstream(homeTrash / "directorysizes") << "";
    fs::path driveTrash = machine.drive('D') / (".Trash-" + std::to_string(::geteuid()));
    fs::create_directories(driveTrash / "files");
    std::ofstream(driveTrash / "files/y.txt") << "x";
    // A link in the trash to a folder outside it: the link goes, the folder stays whole.
    machine.writeFile("D:\\keep\\precious.txt", "x");
    fs::create_directory_symlink(machine.native("D:\\keep"), homeTrash / "files/link");
    std::ofstream(machine.home() / "notes.txt") << "x";

    tickOnly({7});
    run();
    EXPECT_EQ(machine.shell().emptyRecycleBinsCalls, 1);
    EXPECT_TRUE(fs::is_empty(homeTrash / "files"));
    EXPECT_TRUE(fs::is_empty(homeTrash / "info"));
    EXPECT_FALSE(fs::exists(homeTrash / "directorysizes"));
    EXPECT_TRUE(fs::is_empty(driveTrash / "files"));
    EXPECT_TRUE(exists("D:\\keep\\precious.txt"));
    EXPECT_TRUE(fs::exists(machine.home() / "notes.txt"));
    EXPECT_TRUE(tk.messageBoxes.empty());
}

TEST_F(WipeTest, TheUsersFoldersOfAMachineLieInsideIt) {
    // So no run on a test machine can reach the real trash or desktop.
    std::string desktop = platform::toNative(platform::shell().desktopFolder());
    EXPECT_EQ(fs::path(desktop), machine.home() / "Desktop");
}

TEST_F(WipeTest, WithoutTheRecycleBinLibraryOneMessageIsShownAndTheRunGoesOn) {
    struct Case {
        const char* label;
        platform::RecycleBinResult answer;
        size_t messages;
    };
    const Case cases[] = {
        {"no library", platform::RecycleBinResult::NoLibrary, 1},
        {"no operation", platform::RecycleBinResult::NoOperation, 0},
        {"the operation failed", platform::RecycleBinResult::Failed, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        tk.messageBoxes.clear();
        machine.shell().recycleBinAnswer = c.answer;
        fs::create_directories(machine.home() / "Desktop");
        fs::create_symlink(machine.home() / "gone", machine.home() / "Desktop/broken");
        tickOnly({7, 8});
        TfrmWipe w;
        w.btnClean.click();
        ASSERT_EQ(tk.messageBoxes.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(tk.messageBoxes[0].text, "Failed to load Shell32.dll.");
            EXPECT_EQ(tk.messageBoxes[0].flags, toolkit::MB_OK | toolkit::MB_ICONERROR);
        }
        EXPECT_FALSE(fs::exists(fs::symlink_status(machine.home() / "Desktop/broken"))) << "item 8 still ran";
        EXPECT_EQ(w.pb_Wipe.position(), 9);
    }
}

TEST_F(WipeTest, BrokenDesktopShortcutsGoToTheTrashAndNothingElseIsTouched) {
    fs::path desktop = machine.home() / "Desktop";
    fs::path bin = machine.root() / "bin";
    fs::create_directories(desktop);
    fs::create_directories(bin);
    std::ofstream(bin / "present") << "#!/bin/sh\n";
    fs::permissions(bin / "present", fs::perms::owner_all);
    std::ofstream(bin / "notrunnable") << "";
    machine.setEnvironment("PATH", bin.string());
    auto launcher = [&](const std::string& name, const std::string& body) {
        std::ofstream(desktop / name) << "[Desktop Entry]\n" << body;
    };
    std::ofstream(desktop / "target.txt") << "x";
    fs::create_symlink(desktop / "target.txt", desktop / "good link");
    fs::create_symlink(machine.home() / "moved away", desktop / "dead link");
    launcher("missing.desktop", "Type=Application\nName=Gone\nExec=not-installed --flag %U\n");
    launcher("quoted.desktop", "Type=Application\nExec=\"" + (bin / "no such program").string() + "\" %f\n");
    launcher("tryexec.desktop", "Type=Application\nTryExec=not-installed\nExec=present\n");
    launcher("present.desktop", "Type=Application\nExec=present %F\n");
    launcher("absolute.desktop", "Type=Application\nExec=" + (bin / "present").string() + "\n");
    launcher("notrunnable.desktop", "Type=Application\nExec=notrunnable\n");
    launcher("web.desktop", "Type=Link\nURL=http://example.invalid/\n");
    std::ofstream(desktop / "notes.txt") << "Exec=not-installed\n";
    fs::create_directories(desktop / "folder.desktop");

    tickOnly({8});
    run();
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(desktop))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"target.txt", "good link", "present.desktop",
                                           "absolute.desktop", "web.desktop", "notes.txt", "folder.desktop"}));

    // Each one is in the trash with a record of where it was, so it can be restored.
    fs::path trash = machine.home() / ".local/share/Trash";
    for (const char* name : {"dead link", "missing.desktop", "quoted.desktop", "tryexec.desktop", "notrunnable.desktop"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(fs::exists(fs::symlink_status(trash / "files" / name)));
        std::ifstream info(trash / "info" / (std::string(name) + ".trashinfo"));
        std::string head, path, date;
        std::getline(info, head);
        std::getline(info, path);
        std::getline(info, date);
        EXPECT_EQ(head, "[Trash Info]");
        std::string expected = (desktop / name).string();
        std::string escaped;
        for (char ch : expected)
            escaped += ch == ' ' ? std::string("%20") : std::string(1, ch);
        EXPECT_EQ(path, "Path=" + escaped);
        EXPECT_EQ(date.rfind("DeletionDate=", 0), 0u);
    }
}

TEST_F(WipeTest, ASecondShortcutOfTheSameNameGetsANameOfItsOwnInTheTrash) {
    fs::path desktop = machine.home() / "Desktop";
    fs::create_directories(desktop);
    for (int i = 0; i < 2; ++i) {
        fs::create_symlink(machine.home() / "gone", desktop / "dead");
        RemoveBrokenShortcuts();
    }
    fs::path trash = machine.home() / ".local/share/Trash";
    EXPECT_TRUE(fs::exists(fs::symlink_status(trash / "files/dead")));
    EXPECT_TRUE(fs::exists(fs::symlink_status(trash / "files/dead.2")));
    EXPECT_TRUE(fs::exists(trash / "info/dead.2.trashinfo"));
}

TEST_F(WipeTest, OpeningTheWindowChangesNoSettingAndTogglesChangeOnlyTheirOwn) {
    tickOnly({1, 4, 8});
    TfrmWipe w;
    int changes = 0;
    auto user = w.clCleanOption.onChange;
    w.clCleanOption.onChange = [&](int i, toolkit::CheckState s) {
        ++changes;
        user(i, s);
    };
    w.FormShow();
    EXPECT_EQ(changes, 0);
    auto props = TfrmWipe::ItemProperties();
    for (int i = 0; i < TfrmWipe::ItemCount; ++i) {
        EXPECT_EQ(w.clCleanOption.checked(i), i == 1 || i == 4 || i == 8) << i;
        EXPECT_EQ(settings.*props[size_t(i)], i == 1 || i == 4 || i == 8) << i;
    }
    w.clCleanOption.toggle(0); // tick
    w.clCleanOption.toggle(4); // untick
    w.clCleanOption.userSetState(8, toolkit::CheckState::Grayed);
    EXPECT_EQ(changes, 3);
    w.clCleanOptionChange(9, toolkit::CheckState::Checked); // no such item: ignored
    w.clCleanOptionChange(-1, toolkit::CheckState::Checked);
    w.RzButton6.click();
    EXPECT_EQ(w.modalResult(), toolkit::mrOk);
    for (int i = 0; i < TfrmWipe::ItemCount; ++i)
        EXPECT_EQ(settings.*props[size_t(i)], i == 0 || i == 1) << i;
    EXPECT_FALSE(fs::exists(machine.native(folder.file("quorCleaner.cfg")))) << "nothing is written here";
}

TEST_F(WipeTest, TheWindowCannotBeClosedWhileARunIsGoingOn) {
    TfrmWipe w;
    tickOnly({3});
    bool closedDuringRun = true;
    tk.queue([&] {
        w.close();
        closedDuringRun = w.modalResult() != toolkit::mrNone;
        EXPECT_FALSE(w.btnClean.enabled());
    });
    w.btnClean.click();
    EXPECT_FALSE(closedDuringRun);
    EXPECT_TRUE(w.btnClean.enabled());
    EXPECT_TRUE(w.clCleanOption.enabled());
}
