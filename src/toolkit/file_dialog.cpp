#include "toolkit/file_dialog.h"

#include "toolkit/toolkit.h"

namespace toolkit {

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    std::vector<FileFilter> out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter f{parts[i], {}};
        std::string p;
        for (char c : parts[i + 1] + ";") {
            if (c == ';' || c == ',') {
                if (!p.empty())
                    f.patterns.push_back(p);
                p.clear();
            } else if (c != ' ') {
                p += c;
            }
        }
        out.push_back(std::move(f));
    }
    return out;
}

std::string OpenDialog::withDefaultExt(const std::string& name) const {
    std::string ext = defaultExt;
    while (!ext.empty() && (ext[0] == '*' || ext[0] == '.'))
        ext.erase(0, 1);
    if (ext.empty() || name.empty())
        return name;
    size_t slash = name.find_last_of("\\/");
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name;
    return name + "." + ext;
}

bool OpenDialog::execute() {
    std::string chosen = fileName;
    if (!Toolkit::current().fileDialog(*this, chosen))
        return false;
    fileName = withDefaultExt(chosen);
    return true;
}

} // namespace toolkit
