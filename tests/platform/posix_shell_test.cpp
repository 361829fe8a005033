#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "platform/posix/posix_shell.h"
#include "support/temp_machine.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

// PATH for the test's lifetime, put back afterwards.
class PathFor {
public:
    explicit PathFor(const std::string& value) {
        if (const char* v = std::getenv("PATH"))
            saved_ = v;
        ::setenv("PATH", value.c_str(), 1);
    }
    ~PathFor() {
        if (saved_)
            ::setenv("PATH", saved_->c_str(), 1);
        else
            ::unsetenv("PATH");
    }
    PathFor(const PathFor&) = delete;
    PathFor& operator=(const PathFor&) = delete;

private:
    std::optional<std::string> saved_;
};

fs::path writeExecutable(testsupport::TempMachine& m, const std::string& drivePath, const std::string& content) {
    fs::path p = m.writeFile(drivePath, content);
    fs::permissions(p, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
    return p;
}

std::string slurp(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// The started programs run on their own; they are given a few seconds to leave their mark.
bool appears(const fs::path& p) {
    for (int i = 0; i < 500; ++i) {
        if (fs::exists(p))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// A small program of this machine, copied: an executable image in the drive.
std::optional<fs::path> touchProgram() {
    for (const char* p : {"/usr/bin/touch", "/bin/touch"})
        if (fs::exists(p))
            return fs::path(p);
    return std::nullopt;
}

} // namespace

// An executable text file beside an executable image: "open" hands the text file to the
// desktop's opener (a stand-in on PATH here) and never runs its command; the image runs
// from its argument vector, blanks and quotes in the arguments reaching it untouched.
TEST(PosixShell, OpenNeverRunsAFileAndAProgramRunsFromItsArgumentVector) {
    auto touch = touchProgram();
    if (!touch)
        GTEST_SKIP() << "no touch program on this machine";
    testsupport::TempMachine m;
    fs::path root = m.root();
    // The stand-in opener writes its arguments, then renames the record into place.
    fs::path bin = writeExecutable(m, "C:\\bin\\xdg-open",
                                   "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$@\" > '" + (root / "opened.tmp").string() +
                                       "'\nmv '" + (root / "opened.tmp").string() + "' '" +
                                       (root / "opened").string() + "'\n")
                       .parent_path();
    PathFor path(bin.string());

    fs::path ran = root / "ran";
    fs::path log = writeExecutable(m, "C:\\logs\\APP.LOG", touch->string() + " '" + ran.string() + "'\n");
    fs::path prog = m.native("C:\\tools\\prog");
    fs::create_directories(prog.parent_path());
    fs::copy_file(*touch, prog);
    fs::permissions(prog, fs::perms::owner_all);

    posix::PosixShell& shell = m.platform().shell();
    ASSERT_TRUE(shell.execute({"open", "C:\\logs\\APP.LOG", "", 1}));
    ASSERT_TRUE(appears(root / "opened"));
    EXPECT_EQ(slurp(root / "opened"), log.string() + "\n");

    const std::string made1 = (root / "made one").string(), made2 = (root / "made'two\"$(x)").string();
    ProgramStart started = shell.runProgram({"C:\\tools\\prog", {made1, made2}});
    ASSERT_TRUE(started.started) << started.error;
    EXPECT_TRUE(started.error.empty());
    for (const std::string& made : {made1, made2})
        EXPECT_TRUE(appears(made)) << made;
    // The opener has long finished: had the text been run, its mark would be there.
    EXPECT_FALSE(fs::exists(ran));
}

TEST(PosixShell, OnlyExecutableImagesAndInterpreterScriptsRun) {
    auto touch = touchProgram();
    if (!touch)
        GTEST_SKIP() << "no touch program on this machine";
    testsupport::TempMachine m;
    fs::path root = m.root();
    PathFor path((root / "empty-bin").string()); // a "#!" line may not lean on PATH
    fs::path ran = root / "ran";

    writeExecutable(m, "C:\\t\\notes.txt", touch->string() + " '" + ran.string() + "'\n");
    writeExecutable(m, "C:\\t\\setup.exe", std::string("MZ\x90\0\3\0\0\0", 8) + "touch " + ran.string());
    writeExecutable(m, "C:\\t\\empty", "");
    writeExecutable(m, "C:\\t\\bang", "#");
    writeExecutable(m, "C:\\t\\script.sh", "#!/bin/sh\n" + touch->string() + " \"$1\"\n");
    fs::copy_file(*touch, m.native("C:\\t\\noexec"));
    fs::permissions(m.native("C:\\t\\noexec"), fs::perms::owner_read | fs::perms::owner_write);
    m.makeDir("C:\\t\\folder");

    struct Case {
        const char* label;
        const char* program;
        bool runs;
        const char* errorHas;
    } cases[] = {
        {"text with the execute bit", "C:\\t\\notes.txt", false, "not a program"},
        {"foreign image", "C:\\t\\setup.exe", false, "not a program"},
        {"empty file", "C:\\t\\empty", false, "not a program"},
        {"one byte of an interpreter line", "C:\\t\\bang", false, "not a program"},
        {"image without the execute bit", "C:\\t\\noexec", false, "Permission denied"},
        {"folder", "C:\\t\\folder", false, "not a file"},
        {"missing", "C:\\t\\none", false, "No such file"},
        {"unmapped drive", "Q:\\x", false, "No such file"},
        {"interpreter script", "C:\\t\\script.sh", true, ""},
    };
    posix::PosixShell& shell = m.platform().shell();
    for (const auto& c : cases) {
        fs::path mark = root / (std::string("mark-") + c.label);
        ProgramStart s = shell.runProgram({c.program, {mark.string()}});
        EXPECT_EQ(s.started, c.runs) << c.label << ": " << s.error;
        if (c.runs) {
            EXPECT_TRUE(s.error.empty()) << c.label;
            EXPECT_TRUE(appears(mark)) << c.label;
        } else {
            EXPECT_EQ(s.error.rfind(std::string("Cannot run \"") + c.program + "\". ", 0), 0u) << c.label << ": " << s.error;
            EXPECT_NE(s.error.find(c.errorHas), std::string::npos) << c.label << ": " << s.error;
        }
    }
    EXPECT_FALSE(fs::exists(ran));
}
