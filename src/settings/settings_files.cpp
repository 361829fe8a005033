#include "settings/settings_files.h"

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

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = text.find_first_of("\r\n", i);
        if (end == std::string::npos) {
            lines.push_back(text.substr(i));
            break;
        }
        lines.push_back(text.substr(i, end - i));
        i = end + 1;
        if (text[end] == '\r' && i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::vector<std::string> LoadLinesFromFile(const std::string& path, MissingFile missing) {
    if (missing == MissingFile::Empty && !platform::files().exists(path))
        return {};
    return SplitLines(platform::files().readFile(path));
}

void SaveLinesToFile(const std::string& path, const std::vector<std::string>& lines) {
    platform::files().writeFileAtomic(path, JoinLines(lines));
}
