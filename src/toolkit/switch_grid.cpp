#include "toolkit/switch_grid.h"

#include <algorithm>

namespace toolkit {

void SwitchGrid::setTitles(const std::string& caption, const std::string& value) {
    captionTitle_ = caption;
    valueTitle_ = value;
    changed(Property::Columns);
}

void SwitchGrid::clear() {
    if (rows_.empty())
        return;
    rows_.clear();
    changed(Property::Rows);
}

int SwitchGrid::addBoolean(const std::string& caption, bool checked) {
    rows_.push_back({caption, SwitchKind::Boolean, checked, 0, 0, 0});
    changed(Property::Rows);
    return count() - 1;
}

int SwitchGrid::addInteger(const std::string& caption, int value, int min, int max) {
    if (max < min)
        std::swap(min, max);
    rows_.push_back({caption, SwitchKind::Integer, false, std::clamp(value, min, max), min, max});
    changed(Property::Rows);
    return count() - 1;
}

void SwitchGrid::setChecked(int index, bool b) {
    if (!isKind(index, SwitchKind::Boolean))
        return;
    set(rows_[std::size_t(index)].checked, b, Property::Checked);
}

void SwitchGrid::setValue(int index, int v) {
    if (!isKind(index, SwitchKind::Integer))
        return;
    SwitchRow& r = rows_[std::size_t(index)];
    set(r.value, std::clamp(v, r.min, r.max), Property::Checked);
}

void SwitchGrid::userToggle(int index) {
    if (!enabled() || !isKind(index, SwitchKind::Boolean))
        return;
    setChecked(index, !checked(index));
    if (onChange)
        onChange(index);
}

void SwitchGrid::userSetValue(int index, int v) {
    if (!enabled() || !isKind(index, SwitchKind::Integer))
        return;
    int before = value(index);
    setValue(index, v);
    if (value(index) != before && onChange)
        onChange(index);
}

} // namespace toolkit
