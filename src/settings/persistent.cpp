#include "settings/persistent.h"

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = char(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

const PropertyInfo* TPersistent::FindProperty(const std::string& name) const {
    for (const PropertyInfo& p : Properties())
        if (SameText(p.name, name))
            return &p;
    return nullptr;
}
