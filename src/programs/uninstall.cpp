#include "programs/uninstall.h"

#include <cstdio>
#include <vector>

#include "common/ascii_text.h"
#include "common/paths.h"
#include "platform/drive_map.h"
#include "platform/platform.h"
#include "programs/file_kind.h"
#include "services/clock_texts.h"
#include "services/machine_texts.h"

std::string UnquoteUninstallString(const std::string& text) {
    if (text.empty() || text[0] != '"')
        return text;
    size_t close = text.find('"', 1);
    if (close == std::string::npos)
        return text.substr(1);
    return text.substr(1, close - 1) + text.substr(close + 1);
}

std::string LocationOf(const std::string& uninstallString) {
    size_t last = uninstallString.find_last_of("\\:");
    return last == std::string::npos ? std::string() : uninstallString.substr(0, last + 1);
}

std::string SizeText(double kilobytes) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%16.2f KByte", kilobytes);
    return buf;
}

std::string TimeText(double dateTime) { return FormatDateTime("m/d/yyyy h:nn:ss", dateTime); }

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The entry of `folder` named `name` (ASCII letters folded, as the system's file names
// are), as a path; empty when there is none of that kind.
std::string entryNamed(const std::string& folder, const std::string& name, bool folderWanted) {
    std::string found;
    std::string key = AsciiUpper(name);
    platform::files().listFolder(folder, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        if (e.isDots() || e.isDirectory() != folderWanted || e.isReparsePoint() || AsciiUpper(e.name) != key)
            return true;
        found = JoinPath(folder, e.name);
        return false;
    });
    return found;
}

bool hasExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    size_t sep = path.find_last_of("\\/:");
    return dot != std::string::npos && (sep == std::string::npos || dot > sep);
}

bool isFile(const std::string& path) {
    return platform::files().exists(path) && !platform::files().isDirectory(path);
}

// A name without any folder: the system's own programs ("MsiExec.exe").
bool isBareName(const std::string& name) { return name.find_first_of("\\/:") == std::string::npos; }

bool isFullPath(const std::string& name) {
    return platform::DriveMap::isDrivePath(name) || (!name.empty() && name[0] == '/');
}

// The file `name` stands for, trying "name.exe" for a name without an extension.
std::string programFile(const std::string& name) {
    std::vector<std::string> names{name};
    if (!hasExtension(name))
        names.push_back(name + ".exe");
    if (isBareName(name)) {
        std::string windows = WindowsFolder();
        for (const std::string& folder : {entryNamed(windows, "system32", true), windows}) {
            if (folder.empty())
                continue;
            for (const std::string& n : names)
                if (std::string path = entryNamed(folder, n, false); !path.empty())
                    return path;
        }
        return {};
    }
    if (!isFullPath(name))
        return {};
    for (const std::string& n : names)
        if (isFile(n))
            return n;
    return {};
}

// Splits arguments as a Windows program's start-up code does: blanks separate, double
// quotes group and are dropped, 2n backslashes before a quote give n and the quote counts,
// 2n + 1 give n and a literal quote, "" inside quotes is a literal quote.
std::vector<std::string> splitArguments(const std::string& text) {
    std::vector<std::string> args;
    size_t i = 0, n = text.size();
    while (true) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(text[i]))) {
            char c = text[i];
            if (c == '\\') {
                size_t k = 0;
                while (i < n && text[i] == '\\')
                    ++k, ++i;
                if (i < n && text[i] == '"') {
                    arg.append(k / 2, '\\');
                    if (k % 2) {
                        arg += '"';
                        ++i;
                    }
                } else {
                    arg.append(k, '\\');
                }
            } else if (c == '"') {
                if (quoted && i + 1 < n && text[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += c;
                ++i;
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

} // namespace

bool UninstallRun(const std::string& command, platform::ProgramRun& run, std::string& why) {
    std::string text = Trim(command);
    run = {};
    if (text.empty()) {
        why = "The uninstall command is empty.";
        return false;
    }
    std::string name, rest, file;
    if (text[0] == '"') {
        size_t close = text.find('"', 1);
        name = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        rest = close == std::string::npos ? std::string() : text.substr(close + 1);
        file = programFile(name);
    } else {
        // Unquoted, a path may hold blanks: the first prefix that names a file is the program.
        for (size_t b = 0;; ++b) {
            b = text.find_first_of(" \t", b);
            std::string candidate = text.substr(0, b);
            if (file = programFile(candidate); !file.empty()) {
                name = candidate;
                rest = b == std::string::npos ? std::string() : text.substr(b);
                break;
            }
            if (b == std::string::npos)
                break;
        }
        if (file.empty())
            name = text.substr(0, text.find_first_of(" \t"));
    }
    if (file.empty()) {
        if (isBareName(name))
            why = "Cannot run \"" + name + "\". It is neither in the Windows folder nor in its \"system32\".";
        else if (!isFullPath(name))
            why = "Cannot run \"" + name + "\". It names no drive.";
        else
            why = "Cannot run \"" + (text[0] == '"' ? name : text) + "\". No such file.";
        return false;
    }
    run.program = file;
    run.arguments = splitArguments(rest);
    return true;
}
