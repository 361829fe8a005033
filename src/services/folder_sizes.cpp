#include "services/folder_sizes.h"

#include "common/paths.h"
#include "common/size_units.h"
#include "platform/platform.h"

bool AddFileSizes(const std::string& folder, std::int64_t& total, const SizeWalkHooks& hooks) {
    bool go = true;
    platform::files().listFolder(folder, platform::ListDetail::Sizes, [&](const platform::DirEntry& e) {
        total += static_cast<std::int64_t>(e.size); // 0 for folders and links
        if (hooks.onEntry && !hooks.onEntry(e))
            return go = false;
        if (EntersSubfolder(e) && (!hooks.beforeSubfolder || hooks.beforeSubfolder()))
            go = AddFileSizes(JoinPath(folder, e.name), total, hooks);
        return go;
    });
    return go;
}

std::int64_t DirectorySize(const std::string& folder) {
    if (!platform::files().isDirectory(folder))
        return 0;
    std::int64_t total = 0;
    AddFileSizes(folder, total);
    return total;
}

bool DirectorySizeIsZero(const std::string& folder) {
    if (!platform::files().isDirectory(folder))
        return true;
    std::int64_t total = 0;
    return AddFileSizes(folder, total, {[](const platform::DirEntry& e) { return e.size == 0; }, {}});
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

double FolderSizeIn(const std::string& folder, int unit) { return SizeInUnit(DirectorySize(folder), unit); }

bool DeleteTree(const std::string& path) { return platform::shell().deleteTree(path); }
