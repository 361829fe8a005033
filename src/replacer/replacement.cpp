#include "replacer/replacement.h"

namespace replacer {

namespace {

// Tries again every pause until `path` is free; false when the limit passed first.
bool waitUntilFree(const std::string& path, Ops& ops, const WaitRules& rules) {
    const std::int64_t startMs = ops.nowMs();
    while (ops.inUse(path)) {
        if (ops.nowMs() - startMs >= rules.limitMs)
            return false;
        ops.pause(rules.pauseMs);
    }
    return true;
}

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

} // namespace

Outcome run(const std::vector<std::string>& args, Ops& ops, const WaitRules& rules) {
    if (args.empty()) {
        ops.inform(kCaption, "Replacer v3.4 moves the files the update component downloaded into "
                             "place and starts the program again.");
        return Outcome::Informed;
    }
    const char sep = ops.separator();

    // The restart text comes last and begins with "+"; everything before it is the
    // program's path, put back together with single blanks where the command line split
    // it. Taking the last argument rather than the first "+" keeps a path with a "+" in it.
    std::vector<std::string> parts = args;
    std::string restart;
    const bool method1 = !args.back().empty() && args.back().back() == '1';
    if (parts.size() > 1 && !parts.back().empty() && parts.back().front() == '+') {
        restart = parts.back().substr(1);
        parts.pop_back();
    }
    std::string program;
    for (std::size_t i = 0; i < parts.size(); ++i)
        program += (i ? " " : "") + parts[i];

    const std::size_t lastSep = program.rfind(sep);
    const std::string folder = lastSep == std::string::npos ? std::string() : program.substr(0, lastSep + 1);

    std::string found;
    std::string name;
    if (ops.findFile(program, found)) {
        name = found;
        if (!waitUntilFree(program, ops, rules))
            return Outcome::GaveUp;
    } else {
        name = lastSep == std::string::npos ? program : program.substr(lastSep + 1);
    }

    std::string ignored;
    bool programCopy = ops.findFile(program + kCopyEnding, ignored);
    std::string command = program;
    std::string remembered;
    const std::size_t endingSize = std::string(kCopyEnding).size();
    for (const std::string& copy : ops.copiesIn(folder)) {
        std::string target = copy.substr(0, copy.size() - endingSize);
        if (!programCopy && endsWith(target, "exe")) {
            if (!method1) {
                // The first downloaded program replaces the program's own executable,
                // whatever its name.
                target = name;
            } else {
                remembered = command;
                command = folder + target;
            }
            programCopy = true;
        }
        const std::string to = folder + target;
        const bool setup = method1 && to == command && !remembered.empty();
        ops.moveOver(folder + copy, to, setup, setup);
    }

    ops.start(command, restart);
    if (method1 && !remembered.empty()) {
        // The setup program runs now; once it has ended it goes, and the program starts.
        if (waitUntilFree(command, ops, rules))
            ops.removeFile(command);
        command = remembered;
        ops.start(command, restart);
    }
    return Outcome::Replaced;
}

} // namespace replacer
