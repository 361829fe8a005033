#include "settings/file_helpers.h"

#include <cmath>

#include "platform/platform.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    char sep = (!folder.empty() && folder[0] == '/') ? '/' : '\\';
    if (folder.empty())
        return name;
    if (folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + sep + name;
}

namespace {

// Adds the sizes below `folder` to `total`; with `stopAtData`, stops (returning false)
// at the first file that holds a byte.
bool addSizes(const std::string& folder, std::int64_t& total, bool stopAtData) {
    bool go = true;
    platform::files().listFolder(folder, platform::ListDetail::Full, [&](const platform::DirEntry& e) {
        if (e.isDots() || e.isReparsePoint())
            return true;
        if (e.isDirectory()) {
            go = addSizes(JoinPath(folder, e.name), total, stopAtData);
            return go;
        }
        total += static_cast<std::int64_t>(e.size);
        if (stopAtData && e.size != 0)
            go = false;
        return go;
    });
    return go;
}

} // namespace

std::int64_t DirectorySize(const std::string& folder) {
    if (!platform::files().isDirectory(folder))
        return 0;
    std::int64_t total = 0;
    addSizes(folder, total, false);
    return total;
}

bool DirectorySizeIsZero(const std::string& folder) {
    if (!platform::files().isDirectory(folder))
        return true;
    std::int64_t total = 0;
    return addSizes(folder, total, true);
}

double SizeInUnit(std::int64_t bytes, int unit) {
    double b = static_cast<double>(bytes);
    switch (unit) {
    case 0: return std::trunc(b * 1000 / 1048576) / 1000;
    case 1: return std::trunc(b * 1000 / 1024) / 1000;
    case 3: return std::trunc(b * 1000 / 1073741824) / 1000;
    default: return b;
    }
}

double FolderSizeIn(const std::string& folder, int unit) { return SizeInUnit(DirectorySize(folder), unit); }

bool DeleteTree(const std::string& path) { return platform::shell().deleteTree(path); }
