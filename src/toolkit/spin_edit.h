#pragma once
// A number box with up and down buttons, kept within its range.
#include <functional>

#include "toolkit/control.h"

namespace toolkit {

class SpinEdit : public Control {
public:
    SpinEdit(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::SpinEdit) {}
    int value() const { return value_; }
    // Kept within [min, max]; fires onChange when the value changes.
    void setValue(int v);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    void setRange(int min, int max);
    int increment = 1;   // the arrows and the arrow keys
    int pageSize = 10;   // Page Up and Page Down
    std::function<void()> onChange;

    // What a user does, for front ends and tests.
    void userStep(int steps) { setValue(value_ + steps * increment); }
    void userPage(int pages) { setValue(value_ + pages * pageSize); }

private:
    int value_ = 0, min_ = 0, max_ = 100;
};

} // namespace toolkit
