#include "common/paths.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    char sep = (!folder.empty() && folder[0] == '/') ? '/' : '\\';
    if (folder.empty())
        return name;
    if (folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + sep + name;
}

std::string DriveRootOf(const std::string& path) {
    size_t colon = path.find(':');
    if (colon == std::string::npos)
        return "My Computer";
    size_t start = colon == 0 ? 0 : colon - 1;
    return path.substr(start, colon + 1 - start) + "\\";
}
