#include "platform/posix/system_areas.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/ascii_text.h"

namespace platform::posix {

namespace {

// "/a/b" from any spelling of it ("a//b/", "/a/./c/../b"); "/" for the root itself.
std::string normal(const std::string& path) {
    std::string p = std::filesystem::path("/" + path).lexically_normal().string();
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

// Top-level folders that belong to the system whatever the files say.
bool systemTopFolder(const std::string& name) {
    static const char* const names[] = {"usr", "etc", "boot", "var", "opt", "srv",  "bin", "sbin", "root",
                                        "run", "tmp", "media", "mnt", "dev", "proc", "sys"};
    for (const char* n : names)
        if (name == n)
            return true;
    // lib, lib32, lib64, libx32: the library folders of each word size.
    return name.compare(0, 3, "lib") == 0 && name.find_first_not_of("x0123456789", 3) == std::string::npos;
}

// The second field of every line that is not a comment: the mount point.
std::vector<std::string> mountPoints(const std::string& table) {
    std::vector<std::string> out;
    std::istringstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string device, dir;
        if (!(fields >> device >> dir) || device[0] == '#')
            continue;
        out.push_back(unescapeMountField(dir));
    }
    return out;
}

std::string readText(const char* path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

} // namespace

std::string unescapeMountField(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7') {
            out += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

SystemAreas::SystemAreas(std::string root, const std::string& passwd, const std::string& mounts,
                         const std::string& fstab)
    : root_(normal(root)) {
    // The sixth field of the password file is the user's home folder.
    std::istringstream in(passwd);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream ls(line);
        for (std::string f; std::getline(ls, f, ':');)
            fields.push_back(f);
        if (fields.size() >= 6)
            add(fields[5]);
    }
    for (const std::string& table : {mounts, fstab})
        for (const std::string& dir : mountPoints(table))
            add(dir);
}

SystemAreas SystemAreas::ofThisMachine() {
    SystemAreas areas("/", readText("/etc/passwd"), readText("/proc/self/mounts"), readText("/etc/fstab"));
    // The running user may come from a directory service rather than the file.
    std::vector<char> buf(16384);
    struct passwd pw, *found = nullptr;
    if (::getpwuid_r(::geteuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir)
        areas.add(found->pw_dir);
    return areas;
}

void SystemAreas::add(const std::string& folder) {
    // Only absolute paths name a folder; a home or mount point of "/" would cover the
    // whole machine and says nothing (service accounts, the root file system).
    if (folder.empty() || folder[0] != '/')
        return;
    std::string p = normal(folder);
    if (p == "/")
        return;
    auto it = std::lower_bound(named_.begin(), named_.end(), p);
    if (it == named_.end() || *it != p)
        named_.insert(it, p);
}

bool SystemAreas::reaches(const std::string& native) const {
    if (native.empty() || native[0] != '/')
        return false;
    std::string p = normal(native);
    // The path as seen from the machine's root; outside it there is nothing of this machine.
    if (root_ != "/") {
        if (p == root_)
            p = "/";
        else if (p.compare(0, root_.size() + 1, root_ + "/") == 0)
            p = p.substr(root_.size());
        else
            return false;
    }
    if (p == "/")
        return true; // the root holds them all
    std::vector<std::string> parts = SplitPath(p, "/");
    if (systemTopFolder(parts[0]))
        return true;
    for (const std::string& c : parts)
        if (c == "lost+found")
            return true;
    for (const std::string& a : named_) {
        // In it or the area itself, or holding it.
        if (p.compare(0, a.size(), a) == 0 && (p.size() == a.size() || p[a.size()] == '/'))
            return true;
        if (a.compare(0, p.size(), p) == 0 && a.size() > p.size() && a[p.size()] == '/')
            return true;
    }
    return false;
}

} // namespace platform::posix
