#include "settings/directories.h"

#include <algorithm>

const PropertyTable& TDirectory::Properties() const {
    static const PropertyTable table = {
        Published("Path", &TDirectory::Path),
        Published("IncludeSubDir", &TDirectory::IncludeSubDir),
        Published("IfClean", &TDirectory::IfClean),
    };
    return table;
}

TDirectory& TDirectorys::Add() { return items_.emplace_back(); }

void TDirectorys::Delete(int i) { items_.erase(items_.begin() + i); }

void TDirectorys::RemoveByPath(const std::string& path) {
    std::erase_if(items_, [&](const TDirectory& d) { return SameText(d.Path, path); });
}
