// The replacement program run for real on a throw-away program folder holding a small
// program that notes each of its runs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/posix/detached_process.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> lines(const fs::path& p) {
    std::vector<std::string> out;
    std::ifstream in(p);
    for (std::string l; std::getline(in, l);)
        out.push_back(l);
    return out;
}

// Waits until runs.txt holds `count` lines (or 20 seconds pass).
std::vector<std::string> waitForRuns(const fs::path& folder, std::size_t count) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (lines(folder / "runs.txt").size() < count && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return lines(folder / "runs.txt");
}

class ReplacerRun : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/quor_replacer_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = fs::path(tmpl) / "Program Folder";
        fs::create_directories(dir);
        probe = readAll(QUOR_RESTART_PROBE);
    }
    void TearDown() override { fs::remove_all(dir.parent_path()); }

    void put(const std::string& name, const std::string& content, fs::perms mode) {
        std::ofstream(dir / name, std::ios::binary) << content;
        fs::permissions(dir / name, mode);
    }
    int runReplacer(const std::vector<std::string>& args) {
        std::vector<std::string> argv{QUOR_REPLACER};
        argv.insert(argv.end(), args.begin(), args.end());
        return platform::posix::startDetached(argv, false);
    }

    fs::path dir;
    std::string probe;
};

constexpr auto kProgramMode = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec;
constexpr auto kCopyMode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;

TEST_F(ReplacerRun, WaitsForTheRunningProgramReplacesItsFilesAndRestartsIt) {
    put("app", probe, kProgramMode);
    put("app.uTMP", probe + "NEW", kCopyMode);
    put("data.dat", "old", kCopyMode);
    put("data.dat.uTMP", "new", kCopyMode);
    ASSERT_EQ(platform::posix::startDetached({(dir / "app").string(), "--hold"}, false), 0);
    ASSERT_EQ(waitForRuns(dir, 1).size(), 1u);

    // The path holds a blank and reaches the program split at it, as a command line does.
    const std::string path = (dir / "app").string();
    const auto blank = path.find(' ');
    ASSERT_EQ(runReplacer({path.substr(0, blank), path.substr(blank + 1), "+/afterupgrade0"}), 0);

    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(fs::exists(dir / "app.uTMP")) << "replaced while the program still ran";
    std::ofstream(dir / "release") << "";

    const auto runs = waitForRuns(dir, 2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], "app --hold");
    EXPECT_EQ(runs[1], "app /afterupgrade0");
    EXPECT_EQ(readAll(dir / "app"), probe + "NEW");
    EXPECT_EQ(fs::status(dir / "app").permissions(), kProgramMode);
    EXPECT_EQ(readAll(dir / "data.dat"), "new");
    EXPECT_FALSE(fs::exists(dir / "app.uTMP"));
    EXPECT_FALSE(fs::exists(dir / "data.dat.uTMP"));
}

TEST_F(ReplacerRun, RunsADownloadedSetupProgramThenDeletesItAndRestarts) {
    put("app", probe, kProgramMode);
    put("setup.exe.uTMP", probe, kCopyMode);

    ASSERT_EQ(runReplacer({(dir / "app").string(), "+/afterupgrade1"}), 0);
    const auto runs = waitForRuns(dir, 2);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], "setup.exe /afterupgrade1");
    EXPECT_EQ(runs[1], "app /afterupgrade1");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (fs::exists(dir / "setup.exe") && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(fs::exists(dir / "setup.exe"));
    EXPECT_FALSE(fs::exists(dir / "setup.exe.uTMP"));
}

} // namespace
