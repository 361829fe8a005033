#include "settings/persistent.h"

const PropertyInfo* TPersistent::FindProperty(const std::string& name) const {
    for (const PropertyInfo& p : Properties())
        if (SameText(p.name, name))
            return &p;
    return nullptr;
}
