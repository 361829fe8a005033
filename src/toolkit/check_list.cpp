#include "toolkit/check_list.h"

namespace toolkit {

void CheckList::setItems(const std::vector<std::string>& captions) {
    items_.clear();
    for (const std::string& c : captions)
        items_.push_back({c, CheckState::Unchecked, true});
    changed(Property::Items);
}

void CheckList::setState(int index, CheckState s) {
    if (index < 0 || index >= count() || items_[size_t(index)].state == s)
        return;
    items_[size_t(index)].state = s;
    changed(Property::Checked);
}

void CheckList::setItemEnabled(int index, bool b) {
    if (index < 0 || index >= count() || items_[size_t(index)].enabled == b)
        return;
    items_[size_t(index)].enabled = b;
    changed(Property::Items);
}

void CheckList::toggle(int index) {
    if (index < 0 || index >= count())
        return;
    CheckState next;
    switch (state(index)) {
    case CheckState::Unchecked: next = allowGrayed ? CheckState::Grayed : CheckState::Checked; break;
    case CheckState::Grayed: next = CheckState::Checked; break;
    default: next = CheckState::Unchecked; break;
    }
    userSetState(index, next);
}

void CheckList::userSetState(int index, CheckState s) {
    if (index < 0 || index >= count() || !enabled() || !items_[size_t(index)].enabled || state(index) == s)
        return;
    setState(index, s);
    if (onChange)
        onChange(index, s);
}

} // namespace toolkit
