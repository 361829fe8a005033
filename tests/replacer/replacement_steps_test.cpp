// The replacement program's steps against a folder held in memory.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "replacer/replacement.h"

namespace {

struct File {
    std::string content;
    bool runnable = false;
    bool hidden = false;
};

class FakeOps : public replacer::Ops {
public:
    std::map<std::string, File> files; // full path -> file
    std::set<std::string> busy;        // paths a running program holds
    int busyPolls = 0;                 // how many more looks each busy path stays busy; <0: for ever
    std::vector<std::string> log;      // what the steps did, in order
    std::int64_t clock = 0;

    char separator() const override { return '\\'; }
    bool findFile(const std::string& path, std::string& name) override {
        if (!files.count(path))
            return false;
        name = path.substr(path.rfind('\\') + 1);
        return true;
    }
    bool inUse(const std::string& path) override {
        if (!busy.count(path))
            return false;
        if (busyPolls == 0) {
            busy.erase(path);
            return false;
        }
        if (busyPolls > 0)
            --busyPolls;
        return true;
    }
    std::vector<std::string> copiesIn(const std::string& folder) override {
        std::vector<std::string> out;
        for (const auto& [path, f] : files)
            if (path.rfind(folder, 0) == 0 && path.find('\\', folder.size()) == std::string::npos &&
                path.size() > 5 && path.ends_with(".uTMP"))
                out.push_back(path.substr(folder.size()));
        return out;
    }
    void moveOver(const std::string& from, const std::string& to, bool runnable, bool hidden) override {
        log.push_back("move " + from + " > " + to + (runnable ? " runnable" : "") + (hidden ? " hidden" : ""));
        File f = files[from];
        files.erase(from);
        if (files.count(to))
            f.runnable = files[to].runnable;
        else
            f.runnable = runnable;
        f.hidden = hidden;
        files[to] = f;
    }
    void removeFile(const std::string& path) override {
        log.push_back("delete " + path);
        files.erase(path);
    }
    void start(const std::string& program, const std::string& argument) override {
        log.push_back("start " + program + " " + argument);
        if (program.ends_with("setup.exe"))
            busy.insert(program); // the setup program runs for a while
    }
    void pause(int milliseconds) override { clock += milliseconds; }
    std::int64_t nowMs() override { return clock; }
    void inform(const std::string& caption, const std::string&) override { log.push_back("inform " + caption); }
};

struct Case {
    const char* label;
    std::vector<std::string> args;
    std::vector<std::string> filesBefore;
    std::vector<std::string> log;
    std::vector<std::string> filesAfter;
};

TEST(ReplacementSteps, MovesCopiesAndRestarts) {
    const std::string d = "C:\\Program Files\\App\\";
    const Case cases[] = {
        {"a path split at its blank is put back together",
         {"C:\\Program", "Files\\App\\app.exe", "+/afterupgrade0"},
         {d + "app.exe"},
         {"start " + d + "app.exe /afterupgrade0"},
         {d + "app.exe"}},
        {"every copy replaces its file and loses its ending",
         {d + "app.exe", "+/afterupgrade0"},
         {d + "app.exe", d + "app.exe.uTMP", d + "data.dat", d + "data.dat.uTMP"},
         {"move " + d + "app.exe.uTMP > " + d + "app.exe", "move " + d + "data.dat.uTMP > " + d + "data.dat",
          "start " + d + "app.exe /afterupgrade0"},
         {d + "app.exe", d + "data.dat"}},
        {"a downloaded program without a copy of the program replaces the executable",
         {d + "app.exe", "+/afterupgrade0"},
         {d + "app.exe", d + "new.exe.uTMP"},
         {"move " + d + "new.exe.uTMP > " + d + "app.exe", "start " + d + "app.exe /afterupgrade0"},
         {d + "app.exe"}},
        {"only the first downloaded program takes the executable's place",
         {d + "app.exe", "+/afterupgrade0"},
         {d + "app.exe", d + "a.exe.uTMP", d + "b.exe.uTMP"},
         {"move " + d + "a.exe.uTMP > " + d + "app.exe", "move " + d + "b.exe.uTMP > " + d + "b.exe",
          "start " + d + "app.exe /afterupgrade0"},
         {d + "app.exe", d + "b.exe"}},
        {"a missing program file skips the wait and the copies still move",
         {d + "gone.exe", "+/afterupgrade0"},
         {d + "lib.dll.uTMP"},
         {"move " + d + "lib.dll.uTMP > " + d + "lib.dll", "start " + d + "gone.exe /afterupgrade0"},
         {d + "lib.dll"}},
        {"method 1 runs the setup program, waits for it, deletes it and restarts",
         {d + "app.exe", "+/afterupgrade1"},
         {d + "app.exe", d + "setup.exe.uTMP"},
         {"move " + d + "setup.exe.uTMP > " + d + "setup.exe runnable hidden",
          "start " + d + "setup.exe /afterupgrade1", "delete " + d + "setup.exe",
          "start " + d + "app.exe /afterupgrade1"},
         {d + "app.exe"}},
        {"method 1 without a setup program never deletes the program",
         {d + "app.exe", "+/afterupgrade1"},
         {d + "app.exe", d + "data.dat.uTMP"},
         {"move " + d + "data.dat.uTMP > " + d + "data.dat", "start " + d + "app.exe /afterupgrade1"},
         {d + "app.exe", d + "data.dat"}},
        {"a + inside the folder name stays part of the path",
         {"C:\\C++\\app.exe", "+/afterupgrade0"},
         {"C:\\C++\\app.exe", "C:\\C++\\app.exe.uTMP"},
         {"move C:\\C++\\app.exe.uTMP > C:\\C++\\app.exe", "start C:\\C++\\app.exe /afterupgrade0"},
         {"C:\\C++\\app.exe"}},
        {"without a restart text the program starts with no argument",
         {d + "app.exe"},
         {d + "app.exe"},
         {"start " + d + "app.exe "},
         {d + "app.exe"}},
        {"no argument shows the information and does nothing else", {}, {d + "x.uTMP"}, {"inform Replacer v3.4"},
         {d + "x.uTMP"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeOps ops;
        for (const auto& f : c.filesBefore)
            ops.files[f] = File{f, f.ends_with("app.exe"), false};
        replacer::run(c.args, ops);
        EXPECT_EQ(ops.log, c.log);
        std::vector<std::string> after;
        for (const auto& [path, f] : ops.files)
            after.push_back(path);
        EXPECT_EQ(after, c.filesAfter);
    }
}

TEST(ReplacementSteps, ReplacedFileKeepsWhetherItRuns) {
    FakeOps ops;
    ops.files["C:\\A\\app.exe"] = File{"old", true, false};
    ops.files["C:\\A\\app.exe.uTMP"] = File{"new", false, false};
    replacer::run({"C:\\A\\app.exe", "+/afterupgrade0"}, ops);
    EXPECT_EQ(ops.files["C:\\A\\app.exe"].content, "new");
    EXPECT_TRUE(ops.files["C:\\A\\app.exe"].runnable);
}

TEST(ReplacementSteps, WaitsWhileTheProgramRunsWithPauses) {
    FakeOps ops;
    ops.files["C:\\A\\app.exe"] = File{};
    ops.files["C:\\A\\app.exe.uTMP"] = File{};
    ops.busy.insert("C:\\A\\app.exe");
    ops.busyPolls = 10;
    EXPECT_EQ(replacer::run({"C:\\A\\app.exe", "+/afterupgrade0"}, ops), replacer::Outcome::Replaced);
    EXPECT_EQ(ops.clock, 10 * 50);
    EXPECT_EQ(ops.log.size(), 2u);
}

TEST(ReplacementSteps, GivesUpAfterTheLimitLeavingEverythingAsItWas) {
    FakeOps ops;
    ops.files["C:\\A\\app.exe"] = File{"old"};
    ops.files["C:\\A\\app.exe.uTMP"] = File{"new"};
    ops.busy.insert("C:\\A\\app.exe");
    ops.busyPolls = -1;
    EXPECT_EQ(replacer::run({"C:\\A\\app.exe", "+/afterupgrade0"}, ops), replacer::Outcome::GaveUp);
    EXPECT_TRUE(ops.log.empty());
    EXPECT_EQ(ops.files["C:\\A\\app.exe"].content, "old");
    EXPECT_EQ(ops.files.size(), 2u);
    EXPECT_GE(ops.clock, 120000);
    EXPECT_LT(ops.clock, 120000 + 100);
}

TEST(ReplacementSteps, SetupThatNeverEndsIsLeftAndTheProgramStillStarts) {
    FakeOps ops;
    ops.files["C:\\A\\app.exe"] = File{};
    ops.files["C:\\A\\setup.exe.uTMP"] = File{};
    ops.busyPolls = -1;
    replacer::run({"C:\\A\\app.exe", "+/afterupgrade1"}, ops);
    EXPECT_EQ(ops.log.back(), "start C:\\A\\app.exe /afterupgrade1");
    EXPECT_TRUE(ops.files.count("C:\\A\\setup.exe"));
}

} // namespace
