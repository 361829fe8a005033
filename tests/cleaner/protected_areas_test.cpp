// Bulk deletion on a machine whose drive C: is its root: a stand-in root folder with the
// layout of this machine's, its system areas read from a given password file, mount
// table and fstab.
#include <gtest/gtest.h>

#include <algorithm>

#include "cleaner_fixture.h"
#include "platform/posix/posix_system.h"

using cleanertest::CleanerTest;
using Strings = std::vector<std::string>;

namespace {

// The installed system services, except that the system areas are those of the stand-in.
class StandInAreas : public platform::System {
public:
    explicit StandInAreas(platform::posix::SystemAreas areas)
        : saved_(platform::services()), areas_(saved_.system->driveMap(), std::nullopt, std::move(areas)) {
        inner_ = saved_.system;
        platform::Services s = saved_;
        s.system = this;
        platform::install(s);
    }
    ~StandInAreas() override { platform::install(saved_); }
    std::string programFolder() override { return inner_->programFolder(); }
    std::string currentFolder() override { return inner_->currentFolder(); }
    const platform::DriveMap& driveMap() override { return inner_->driveMap(); }
    platform::MutexResult acquireMutex(const std::string& n, std::unique_ptr<platform::NamedMutex>& h) override {
        return inner_->acquireMutex(n, h);
    }
    std::optional<std::string> environment(const std::string& n) override { return inner_->environment(n); }
    bool inSystemArea(const std::string& path) override { return areas_.inSystemArea(path); }

private:
    platform::Services saved_;
    platform::posix::PosixSystem areas_;
    platform::System* inner_;
};

} // namespace

TEST_F(CleanerTest, BulkDeleteOnTheMachinesRootKeepsHomesRuntimeFoldersAndMountPoints) {
    settings.IfCleanZeroFile = true;
    settings.IfCleanZeroDir = true;
    const Strings kept = {
        "C:\\home\\someone\\Desktop",      // a home folder's empty folders
        "C:\\home\\someone\\Templates",
        "C:\\home\\someone\\.hushlogin",   // and its zero-byte files
        "C:\\srv\\www\\users\\far",        // a home folder that is not under home
        "C:\\root\\.config",               // root's own
        "C:\\tmp\\runtime-root",           // a session's runtime folder
        "C:\\run\\user\\0",
        "C:\\media",                       // where drives are mounted
        "C:\\mnt\\usb",
        "C:\\archive",                     // a mount point that only fstab names
        "C:\\lost+found",
        "C:\\data\\lost+found",
    };
    for (const std::string& p : kept)
        if (p.find(".hushlogin") != std::string::npos)
            file(p);
        else
            machine.makeDir(p);
    machine.makeDir("C:\\home\\left");  // nobody's home: an empty folder like any other
    machine.makeDir("C:\\old_root");
    file("C:\\data\\empty.log");
    file("C:\\data\\full.bin", 5);
    file("C:\\Quor\\quorcleaner", 5); // the program's folder, not empty
    directory("C:\\");
    StandInAreas areas(platform::posix::SystemAreas(
        machine.drive('C').string(),
        "root:x:0:0:root:/root:/bin/bash\nsomeone:x:1000:1000::/home/someone:/bin/bash\n"
        "far:x:1001:1001::/srv/www/users/far:/bin/sh\nsvc:x:999:999::/:/usr/sbin/nologin\n",
        "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /mnt/usb vfat rw 0 0\n", "UUID=1 / ext4 defaults 0 1\nUUID=2 /archive ext4 noauto 0 2\n"));
    scan();
    Strings listed = captions();
    for (const char* row : {"C:\\home\\left<Dir>", "C:\\old_root<Dir>", "C:\\data\\empty.log", "C:\\media<Dir>",
                            "C:\\home\\someone\\.hushlogin"})
        EXPECT_NE(std::find(listed.begin(), listed.end(), row), listed.end()) << row;
    const int rows = form.Lv_GarbageList.count();

    toolkit::dispatch([&] { form.Btn_CleanAll.click(); });

    for (const std::string& p : kept)
        EXPECT_TRUE(exists(p)) << p;
    for (const char* gone : {"C:\\home\\left", "C:\\old_root", "C:\\data\\empty.log"})
        EXPECT_FALSE(exists(gone)) << gone;
    // Everything left in the list is a protected row, ticked as before.
    Strings left = captions();
    for (const std::string& row : left)
        EXPECT_TRUE(platform::sys().inSystemArea(row.substr(0, row.find("<Dir>")))) << row;
    EXPECT_EQ(int(left.size()) + 3, rows);
    EXPECT_EQ(form.Sb_status.panelText(0), "删除完成: 已删除 3 项, 保留 " + std::to_string(left.size()) + " 项 (受保护区域 " +
                                               std::to_string(left.size()) + " 项, 无法删除或已改变 0 项)");
}
