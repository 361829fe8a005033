#include "app/form_owner.h"

#include <algorithm>

namespace {
std::vector<FormOwner*>& owners() {
    static std::vector<FormOwner*> all;
    return all;
}
} // namespace

FormOwner::FormOwner() { owners().push_back(this); }

FormOwner::~FormOwner() {
    DestroyAll();
    std::erase(owners(), this);
}

bool FormOwner::Owns(const toolkit::Form* form) const {
    return form && std::any_of(owned_.begin(), owned_.end(), [&](const Owned& o) { return o.form.get() == form; });
}

void FormOwner::DestroyEntry(Owned entry) {
    // The reference stays valid while the window's own destruction runs.
    entry.form.reset();
    entry.clearReference();
}

bool FormOwner::Destroy(const toolkit::Form* form) {
    auto it = std::find_if(owned_.begin(), owned_.end(), [&](const Owned& o) { return o.form.get() == form; });
    if (it == owned_.end())
        return false;
    Owned entry = std::move(*it);
    owned_.erase(it);
    DestroyEntry(std::move(entry));
    return true;
}

void FormOwner::DestroyAll() {
    while (!owned_.empty()) {
        Owned entry = std::move(owned_.back());
        owned_.pop_back();
        DestroyEntry(std::move(entry));
    }
}

FormOwner* FormOwner::OwnerOf(const toolkit::Form* form) {
    for (FormOwner* o : owners())
        if (o->Owns(form))
            return o;
    return nullptr;
}
