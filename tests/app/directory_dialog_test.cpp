#include <gtest/gtest.h>

#include <filesystem>

#include "app/directory_dialog.h"
#include "support/temp_machine.h"
#include "toolkit/headless_toolkit.h"

namespace fs = std::filesystem;

TEST(ShortenStatusPath, FollowsTheLengthRule) {
    struct Case {
        std::string path, shown;
    };
    const std::string p44 = "C:\\" + std::string(36, 'a') + "\\tail"; // 44 characters
    const std::string p45 = "C:\\" + std::string(37, 'a') + "\\tail"; // t = 5, k = 40: even
    const std::string p46 = "C:\\" + std::string(36, 'a') + "\\tail6"; // t = 6, k = 39: odd
    const std::string noSlash(60, 'x');
    const std::string longTail = "C:\\" + std::string(50, 'z'); // t = 51, k = -6
    const Case cases[] = {
        {"", ""},
        {p44, p44},
        {noSlash, noSlash},
        {p45, p45.substr(0, 36) + "...\\tail"},
        {p46, p46.substr(0, 36) + "...\\tail6"},
        {longTail, "...\\" + std::string(50, 'z')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenStatusPath(c.path), c.shown) << c.path;
    EXPECT_EQ(ShortenStatusPath(p45).size(), 44u);
    EXPECT_EQ(ShortenStatusPath(p46).size(), 45u);
}

class FolderPicker : public ::testing::Test {
protected:
    FolderPicker() : machine("CD") {
        machine.makeDir("C:\\Program Files\\App\\Data");
        machine.makeDir("C:\\temp");
        machine.makeDir("C:\\.cache");
        machine.writeFile("C:\\readme.txt", "x");
        machine.makeDir("D:\\backup");
        fs::create_directory_symlink("/", machine.native("C:\\rootlink"));
    }
    testsupport::TempMachine machine;
    toolkit::HeadlessToolkit tk;
};

TEST_F(FolderPicker, ConfirmingReturnsTheSelectedFolder) {
    std::string status, title;
    tk.onModal("TFolderBrowser", [&](toolkit::Form& f) {
        auto& b = static_cast<TFolderBrowser&>(f);
        title = b.lTitle.caption();
        EXPECT_EQ(b.SelectedPath(), "C:\\Program Files\\App");
        EXPECT_TRUE(b.btnOK.enabled());
        // The user opens the folder and picks the one below.
        auto& app = *b.tvFolders.selected();
        b.tvFolders.expand(app);
        ASSERT_EQ(app.children().size(), 1u);
        b.tvFolders.select(app.children()[0].get());
        status = b.lStatus.caption();
        b.btnOK.click();
    });
    std::string path = "unchanged";
    EXPECT_TRUE(TDirectoryDialog::Execute(nullptr, "选择要清理的目录", "c:\\program files\\APP\\", path));
    EXPECT_EQ(path, "C:\\Program Files\\App\\Data");
    EXPECT_EQ(status, path);
    EXPECT_EQ(title, "选择要清理的目录");
    EXPECT_EQ(tk.modalLog, std::vector<std::string>{"TFolderBrowser"});
}

TEST_F(FolderPicker, CancellingReturnsFalseAndAnEmptyPath) {
    for (bool closeBox : {false, true}) {
        tk.onModal("TFolderBrowser", [&](toolkit::Form& f) {
            auto& b = static_cast<TFolderBrowser&>(f);
            if (closeBox)
                b.close();
            else
                b.btnCancel.click();
        });
        std::string path = "C:\\old";
        EXPECT_FALSE(TDirectoryDialog::Execute(nullptr, "t", "C:\\temp", path));
        EXPECT_EQ(path, "");
    }
}

TEST_F(FolderPicker, ADriveRootWithItsBackslashSelectsTheDrive) {
    std::string selected, status;
    tk.onModal("TFolderBrowser", [&](toolkit::Form& f) {
        auto& b = static_cast<TFolderBrowser&>(f);
        selected = b.SelectedPath();
        status = b.lStatus.caption();
        b.btnOK.click();
    });
    std::string path;
    EXPECT_TRUE(TDirectoryDialog::Execute(nullptr, "t", "d:\\", path));
    EXPECT_EQ(path, "D:\\");
    EXPECT_EQ(selected, "D:\\");
    EXPECT_EQ(status, "D:\\");
}

TEST_F(FolderPicker, TreeShowsDrivesThenRealFoldersOnly) {
    TFolderBrowser b("t");
    ASSERT_EQ(b.tvFolders.roots().size(), 2u);
    auto& c = *b.tvFolders.roots()[0];
    EXPECT_EQ(c.data, "C:\\");
    EXPECT_TRUE(c.hasChildren());
    EXPECT_TRUE(c.children().empty()); // nothing is read before the drive is opened
    b.tvFolders.expand(c);
    std::vector<std::string> names;
    for (const auto& n : c.children())
        names.push_back(n->text);
    // Hidden folders are shown; files and the link to "/" are not.
    EXPECT_EQ(names, (std::vector<std::string>{".cache", "Program Files", "temp"}));
    EXPECT_EQ(c.children()[1]->data, "C:\\Program Files");
}

TEST_F(FolderPicker, AMissingInitialFolderSelectsTheDeepestOneFound) {
    TFolderBrowser b("t");
    EXPECT_FALSE(b.SelectFolder("C:\\temp\\gone\\deeper"));
    EXPECT_EQ(b.SelectedPath(), "C:\\temp");
    EXPECT_FALSE(b.SelectFolder("Q:\\x"));
    EXPECT_EQ(b.SelectedPath(), "C:\\temp");
    TFolderBrowser none("t");
    EXPECT_FALSE(none.btnOK.enabled());
}
