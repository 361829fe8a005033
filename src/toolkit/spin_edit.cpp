#include "toolkit/spin_edit.h"

#include <algorithm>

namespace toolkit {

void SpinEdit::setValue(int v) {
    v = std::clamp(v, min_, max_);
    if (v == value_)
        return;
    value_ = v;
    changed(Property::Position);
    if (onChange)
        onChange();
}

void SpinEdit::setRange(int min, int max) {
    min_ = min;
    max_ = std::max(min, max);
    changed(Property::Range);
    setValue(value_);
}

} // namespace toolkit
