// What the platform refuses to delete, the desktop trash and the user's folders, on a
// temporary machine.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "platform/platform.h"
#include "platform/posix/posix_user_folders.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;

namespace {

struct Machine : ::testing::Test {
    testsupport::TempMachine machine{"CD"};
    bool exists(const fs::path& p) { return fs::exists(fs::symlink_status(p)); }
};

int bindSocket(const fs::path& path) {
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    path.string().copy(a.sun_path, sizeof a.sun_path - 1);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TEST_F(Machine, FileDeletionRefusesOpenFilesAndThePlumbingOfRunningPrograms) {
    fs::path held = machine.writeFile("C:\\d\\held.txt", "x");
    std::ifstream holding(held);
    ASSERT_TRUE(holding.is_open());
    fs::create_symlink(held, machine.native("C:\\d\\link to held"));
    int sock = bindSocket(machine.native("C:\\d\\sock"));
    ASSERT_GE(sock, 0);
    ASSERT_EQ(::mkfifo(machine.native("C:\\d\\fifo").c_str(), 0600), 0);
    machine.writeFile("C:\\d\\plain.txt", "x");

    struct Case {
        const char* label;
        const char* path;
        bool deleted;
    };
    const Case cases[] = {
        {"a file a process holds open", "C:\\d\\held.txt", false},
        {"a socket", "C:\\d\\sock", false},
        {"a named pipe", "C:\\d\\fifo", false},
        {"a link to an open file is only a link", "C:\\d\\link to held", true},
        {"a plain file", "C:\\d\\plain.txt", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(platform::files().deleteFile(c.path), c.deleted);
        EXPECT_EQ(exists(machine.native(c.path)), !c.deleted);
        if (!c.deleted) {
            EXPECT_FALSE(platform::files().lastErrorText().empty());
        }
    }
    EXPECT_FALSE(platform::shell().deleteTree("C:\\d\\held.txt"));
    holding.close();
    EXPECT_TRUE(platform::files().deleteFile("C:\\d\\held.txt")) << "closed, it goes";
    ::close(sock);
}

TEST_F(Machine, AFileOpenedJustAfterAnotherDeletionIsStillSeenOpen) {
    // One look at the open files may serve a loop of deletions, never the next call.
    for (const char* batch : {"alone", "in a batch"}) {
        SCOPED_TRACE(batch);
        machine.writeFile("C:\\e\\first.txt", "x");
        fs::path second = machine.writeFile("C:\\e\\second.txt", "x");
        std::unique_ptr<platform::DeletionBatch> b;
        if (std::string(batch) != "alone")
            b = platform::files().beginDeletions();
        EXPECT_TRUE(platform::files().deleteFile("C:\\e\\first.txt"));
        b.reset();
        std::ifstream holding(second);
        EXPECT_FALSE(platform::files().deleteFile("C:\\e\\second.txt"));
    }
}

TEST_F(Machine, ATreeDeletionGoesPastWhatItMustLeaveAndSaysSo) {
    fs::path held = machine.writeFile("C:\\t\\a\\held.txt", "x");
    machine.writeFile("C:\\t\\a\\other.txt", "x");
    machine.writeFile("C:\\t\\b\\c\\deep.txt", "x");
    std::ifstream holding(held);
    int sock = bindSocket(machine.native("C:\\t\\b\\sock"));
    ASSERT_GE(sock, 0);
    EXPECT_FALSE(platform::shell().deleteTree("C:\\t"));
    EXPECT_TRUE(exists(held));
    EXPECT_TRUE(exists(machine.native("C:\\t\\b\\sock")));
    EXPECT_FALSE(exists(machine.native("C:\\t\\a\\other.txt")));
    EXPECT_FALSE(exists(machine.native("C:\\t\\b\\c")));
    ::close(sock);
}

TEST_F(Machine, AnEntryIsTheUsersWhenItsOwnerIsTheUserRunningTheProgram) {
    machine.writeFile("C:\\mine.txt", "x");
    EXPECT_TRUE(platform::files().ownedByUser("C:\\mine.txt"));
    EXPECT_FALSE(platform::files().ownedByUser("C:\\missing.txt"));
    if (::geteuid() != 0)
        GTEST_SKIP() << "entries of another owner need the right to change owners";
    fs::path theirs = machine.writeFile("C:\\theirs.txt", "x");
    ASSERT_EQ(::lchown(theirs.c_str(), 65534, 65534), 0);
    // A link of ours to their file is ours: the link is looked at, not its target.
    fs::create_symlink(theirs, machine.native("C:\\link"));
    EXPECT_FALSE(platform::files().ownedByUser("C:\\theirs.txt"));
    EXPECT_TRUE(platform::files().ownedByUser("C:\\link"));
}

TEST_F(Machine, EmptyingTheTrashesNeverFollowsALinkOutOfThem) {
    std::string uid = std::to_string(::geteuid());
    machine.writeFile("D:\\outside\\keep.txt", "x");
    fs::path d = machine.drive('D');
    // A shared ".Trash" that is a link, and a user trash that is one: neither is entered.
    fs::create_directory_symlink(machine.native("D:\\outside"), d / ".Trash");
    fs::create_directories(machine.native("C:\\elsewhere\\files"));
    std::ofstream(machine.native("C:\\elsewhere\\files\\kept.txt")) << "x";
    fs::create_directory_symlink(machine.native("C:\\elsewhere"), machine.drive('C') / (".Trash-" + uid));
    // A real user trash whose "files" is a link to a folder outside.
    fs::create_directories(d / (".Trash-" + uid));
    fs::create_directory_symlink(machine.native("D:\\outside"), d / (".Trash-" + uid) / "files");

    platform::shell().emptyRecycleBins();
    EXPECT_TRUE(exists(machine.native("D:\\outside\\keep.txt")));
    EXPECT_TRUE(exists(machine.native("C:\\elsewhere\\files\\kept.txt")));
}

TEST_F(Machine, TheSharedTrashOfADriveIsUsedOnlyWhenItIsStickyAndOtherwiseTheUsersOwn) {
    std::string uid = std::to_string(::geteuid());
    fs::path d = machine.drive('D');
    struct Case {
        const char* label;
        bool sticky;
        fs::path trash;
    };
    const Case cases[] = {
        {"sticky", true, d / ".Trash" / uid},
        {"not sticky", false, d / (".Trash-" + uid)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        fs::remove_all(d / ".Trash");
        fs::remove_all(d / (".Trash-" + uid));
        fs::create_directories(d / ".Trash");
        fs::permissions(d / ".Trash", c.sticky ? fs::perms::all | fs::perms::sticky_bit : fs::perms::all);
        machine.writeFile("D:\\docs\\old report.txt", "x");
        ASSERT_TRUE(platform::shell().moveToRecycleBin("D:\\docs\\old report.txt"));
        EXPECT_FALSE(exists(machine.native("D:\\docs\\old report.txt")));
        EXPECT_TRUE(exists(c.trash / "files" / "old report.txt"));
        {
            std::ifstream info(c.trash / "info" / "old report.txt.trashinfo");
            std::string head, path;
            std::getline(info, head);
            std::getline(info, path);
            EXPECT_EQ(path, "Path=docs/old%20report.txt") << "relative to the top of the drive";
        }

        EXPECT_EQ(platform::shell().emptyRecycleBins(), platform::RecycleBinResult::Emptied);
        EXPECT_TRUE(fs::is_empty(c.trash / "files"));
        EXPECT_TRUE(fs::is_empty(c.trash / "info"));
    }
}

TEST(UserFolders, OfTheProcessComeFromItsEnvironmentAndTheUsersDirectoriesFile) {
    testsupport::TempMachine machine{"C"};
    fs::path home = machine.root() / "someone";
    fs::create_directories(home / ".config");
    std::map<std::string, std::string> env = {{"HOME", home.string() + "/"}};
    auto lookup = [&](const std::string& n) -> std::optional<std::string> {
        auto it = env.find(n);
        return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    struct Case {
        const char* label;
        std::string userDirs;
        std::string dataHome;
        std::string desktop;
    };
    const Case cases[] = {
        {"no user-dirs file", "", home.string() + "/.local/share", home.string() + "/Desktop"},
        {"a desktop of another name", "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n", home.string() + "/.local/share",
         home.string() + "/桌面"},
        {"the home itself is no desktop", "XDG_DESKTOP_DIR=\"$HOME/\"\n", home.string() + "/.local/share", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::ofstream(home / ".config/user-dirs.dirs") << c.userDirs;
        platform::posix::UserFolders u = platform::posix::userFoldersOfProcess(lookup);
        EXPECT_EQ(u.home, home.string());
        EXPECT_EQ(u.dataHome, c.dataHome);
        EXPECT_EQ(u.desktop, c.desktop);
    }
    env["XDG_DATA_HOME"] = (machine.root() / "data").string();
    EXPECT_EQ(platform::posix::userFoldersOfProcess(lookup).dataHome, (machine.root() / "data").string());
}

TEST_F(Machine, TheEnvironmentOfATestMachineIsOnlyWhatTheTestSets) {
    EXPECT_FALSE(platform::sys().environment("PATH").has_value());
    EXPECT_FALSE(platform::sys().environment("HOME").has_value());
    machine.setEnvironment("TMPDIR", "/x");
    EXPECT_EQ(platform::sys().environment("TMPDIR"), "/x");
    machine.reload();
    EXPECT_EQ(platform::sys().environment("TMPDIR"), "/x");
}
