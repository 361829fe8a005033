#pragma once
// The replacement program's steps: wait until the application has let go of its
// executable, move every downloaded copy ("name.uTMP") over the file it replaces, run a
// downloaded setup program when asked, and start the application again. The steps speak
// to the system through Ops only, so they run in a test as they run in the program.
#include <cstdint>
#include <string>
#include <vector>

namespace replacer {

inline constexpr const char* kCopyEnding = ".uTMP";
inline constexpr const char* kCaption = "Replacer v3.4";

class Ops {
public:
    virtual ~Ops() = default;
    // The folder separator of the paths the program is given.
    virtual char separator() const = 0;
    // The name a look-up of `path` reports for an existing file; false when there is none.
    virtual bool findFile(const std::string& path, std::string& name) = 0;
    // True while `path` cannot be opened for writing because a running program holds it.
    virtual bool inUse(const std::string& path) = 0;
    // Names in `folder` that end in ".uTMP", in the order the system lists them.
    virtual std::vector<std::string> copiesIn(const std::string& folder) = 0;
    // Moves `from` over `to`. The file keeps the permission bits of the file it replaces;
    // `runnable` makes a file that replaces nothing a program that can be started.
    // `hidden` asks for the hidden mark where the system has one.
    virtual void moveOver(const std::string& from, const std::string& to, bool runnable, bool hidden) = 0;
    virtual void removeFile(const std::string& path) = 0;
    // Starts `program` with one argument (none when it is empty); does not wait.
    virtual void start(const std::string& program, const std::string& argument) = 0;
    virtual void pause(int milliseconds) = 0;
    virtual std::int64_t nowMs() = 0;
    // The information shown when the program is started without arguments.
    virtual void inform(const std::string& caption, const std::string& text) = 0;
};

// How long a wait lasts before the program gives up, and the pause between attempts.
struct WaitRules {
    int pauseMs = 50;
    std::int64_t limitMs = 120000;
};

enum class Outcome {
    Informed,   // no arguments: the information was shown
    Replaced,   // the copies were moved and the program started
    GaveUp,     // the application never let go of its executable: nothing was changed
};

// Runs the steps for the arguments after the program's own name.
Outcome run(const std::vector<std::string>& args, Ops& ops, const WaitRules& rules = {});

} // namespace replacer
