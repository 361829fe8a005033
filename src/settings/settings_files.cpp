#include "settings/settings_files.h"

#include "common/ascii_text.h"
#include "platform/drive_map.h"
#include "platform/platform.h"

std::string ProgramFilePath(const std::string& name) {
    std::string folder = platform::sys().programFolder();
    if (folder.empty())
        return name;
    char last = folder.back();
    if (last == '\\' || last == '/')
        return folder + name;
    // A folder outside every drive is a native path.
    return folder + (platform::DriveMap::isDrivePath(folder) ? "\\" : "/") + name;
}

std::string SettingsFilePath() { return ProgramFilePath("quorCleaner.cfg"); }

std::string IgnoreListPath() { return ProgramFilePath("Option2.CFG"); }

std::vector<std::string> LoadLinesFromFile(const std::string& path, MissingFile missing) {
    if (missing == MissingFile::Empty && !platform::files().exists(path))
        return {};
    return SplitLines(platform::files().readFile(path));
}

void SaveLinesToFile(const std::string& path, const std::vector<std::string>& lines) {
    platform::files().writeFileAtomic(path, JoinLines(lines));
}
