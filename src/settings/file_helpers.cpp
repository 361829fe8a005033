#include "settings/file_helpers.h"

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

namespace {

bool holdsNoFile(const std::string& folder) {
    bool empty = true;
    bool listed = platform::files().listFolder(folder, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        if (e.isDots())
            return true;
        if (!e.isDirectory() || e.isReparsePoint())
            empty = false;
        else
            empty = holdsNoFile(JoinPath(folder, e.name));
        return empty;
    });
    return listed && empty;
}

} // namespace

bool FolderHoldsNoFile(const std::string& folder) {
    return platform::files().isDirectory(folder) && holdsNoFile(folder);
}

double SizeInUnit(std::int64_t bytes, int unit) {
    std::int64_t per = 0;
    switch (unit) {
    case 0: per = 1048576; break;
    case 1: per = 1024; break;
    case 3: per = 1073741824; break;
    default: return static_cast<double>(bytes);
    }
    // Thousandths in integers, split so that bytes * 1000 cannot overflow and nothing is
    // rounded in a double before the cut (which a total of several terabytes would be).
    std::int64_t thousandths = bytes / per * 1000 + bytes % per * 1000 / per;
    return static_cast<double>(thousandths) / 1000;
}

double FolderSizeIn(const std::string& folder, int unit) { return SizeInUnit(DirectorySize(folder), unit); }

bool DeleteTree(const std::string& path) { return platform::shell().deleteTree(path); }
