#pragma once
// A grid of switches: a header row of two titles, then rows of a caption and a value that
// is either a Boolean (a check mark the user toggles) or a whole number within a range.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

enum class SwitchKind { Boolean, Integer };

struct SwitchRow {
    std::string caption;
    SwitchKind kind = SwitchKind::Boolean;
    bool checked = false; // a Boolean row's value
    int value = 0;        // an integer row's value, within [min, max]
    int min = 0, max = 0;
};

class SwitchGrid : public Control {
public:
    SwitchGrid(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::SwitchGrid) {}

    // The header row's two titles.
    const std::string& captionTitle() const { return captionTitle_; }
    const std::string& valueTitle() const { return valueTitle_; }
    void setTitles(const std::string& caption, const std::string& value);

    void clear();
    // Append a row; return its index. An integer row keeps its value within [min, max].
    int addBoolean(const std::string& caption, bool checked);
    int addInteger(const std::string& caption, int value, int min, int max);

    int count() const { return int(rows_.size()); }
    const SwitchRow& row(int index) const { return rows_.at(std::size_t(index)); }
    bool checked(int index) const { return row(index).checked; }
    int value(int index) const { return row(index).value; }

    // From code: the view follows, no event. Out-of-range indexes and rows of the other
    // kind are ignored; a number is brought within the row's range.
    void setChecked(int index, bool b);
    void setValue(int index, int v);

    // What the user does: toggles a Boolean row, or enters a number in an integer row (kept
    // within its range). Each change fires onChange with the row's index.
    void userToggle(int index);
    void userSetValue(int index, int v);
    std::function<void(int index)> onChange;

private:
    bool isKind(int index, SwitchKind k) const {
        return index >= 0 && index < count() && rows_[std::size_t(index)].kind == k;
    }
    std::string captionTitle_, valueTitle_;
    std::vector<SwitchRow> rows_;
};

} // namespace toolkit
