#include "analyzer/entry_commands.h"

#include <vector>

#include "common/paths.h"
#include "platform/platform.h"
#include "services/folder_sizes.h"

std::string EntryPath(const std::string& pathBoxText, const std::string& caption) {
    return JoinPath(pathBoxText, caption);
}

bool IsFileRow(const std::string& sizeCell) { return !sizeCell.empty() && sizeCell[0] >= '1' && sizeCell[0] <= '9'; }

std::string AnalyzeTarget(const std::string& pathBoxText, bool rowSelected, const std::string& caption) {
    std::string path;
    if (!rowSelected) {
        path = pathBoxText;
    } else if (pathBoxText == "My Computer") {
        size_t colon = caption.find(':');
        path = colon != std::string::npos && colon >= 1 ? caption.substr(colon - 1, 2) + "\\" : "My Computer";
    } else {
        path = EntryPath(pathBoxText, caption);
    }
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path;
}

std::string DeleteQuestion(const std::string& entryPath, bool fileRow) {
    return fileRow ? "确定要永久删除文件 \"" + entryPath + "\" 吗？"
                   : "确定要永久删除文件夹 \"" + entryPath + "\" 中的全部内容吗？\r\n(文件夹本身保留)";
}

void DeleteFolderContents(const std::string& folder, const std::function<void()>& onError) {
    // Listed first, deleted after: a folder changing under its own listing may skip entries.
    std::vector<platform::DirEntry> entries;
    platform::files().listFolder(folder, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        if (!e.isDots())
            entries.push_back(e);
        return true;
    });
    for (const platform::DirEntry& e : entries) {
        std::string path = JoinPath(folder, e.name);
        bool ok = e.isDirectory() && !e.isReparsePoint() ? DeleteTree(path) : platform::files().deleteFile(path);
        if (!ok && onError)
            onError();
    }
}
