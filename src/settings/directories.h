#pragma once
// The directories the junk scan visits.
#include <string>
#include <vector>

#include "settings/persistent.h"

class TDirectory : public TPersistent {
public:
    std::string Path;           // "C:\" form for drive roots
    bool IncludeSubDir = false; // the scan descends into subdirectories
    bool IfClean = false;       // the scan visits this directory at all

    std::string ClassName() const override { return "TDirectory"; }
    const PropertyTable& Properties() const override;
};

// Ordered; items carry no identity beyond their position.
class TDirectorys {
public:
    int Count() const { return int(items_.size()); }
    TDirectory& operator[](int i) { return items_.at(std::size_t(i)); }
    const TDirectory& operator[](int i) const { return items_.at(std::size_t(i)); }
    // Appends an empty item; the caller sets its properties.
    TDirectory& Add();
    void Delete(int i);
    void Clear() { items_.clear(); }
    // Removes every item whose Path equals `path` without regard to ASCII letter case.
    void RemoveByPath(const std::string& path);

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TDirectory> items_;
};
