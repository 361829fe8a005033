#pragma once
// The junk-file patterns.
#include <string>
#include <vector>

#include "settings/persistent.h"

class TGarbage : public TPersistent {
public:
    std::string GarbageName; // file name or extension with the wildcards * and ?
    bool Ifclean = false;    // the pattern is in use
    std::string Memo;        // description shown beside the pattern

    std::string ClassName() const override { return "TGarbage"; }
    const PropertyTable& Properties() const override;
};

// Ordered; the scan walks the patterns in this order.
class TGarbages {
public:
    int Count() const { return int(items_.size()); }
    TGarbage& operator[](int i) { return items_.at(std::size_t(i)); }
    const TGarbage& operator[](int i) const { return items_.at(std::size_t(i)); }
    // Appends an empty item; the caller sets its properties.
    TGarbage& Add();
    void Delete(int i);
    void Clear() { items_.clear(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<TGarbage> items_;
};
