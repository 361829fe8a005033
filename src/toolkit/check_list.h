#pragma once
// A check list: items with a caption and a check state. Setting a state from code fires
// nothing; the user's toggle fires onChange with the index and the new state.
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

enum class CheckState { Unchecked, Checked, Grayed };

class CheckList : public Control {
public:
    CheckList(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::CheckList) {}

    struct Item {
        std::string caption;
        CheckState state = CheckState::Unchecked;
        bool enabled = true;
    };

    // Replaces the items (all unchecked and enabled).
    void setItems(const std::vector<std::string>& captions);
    int count() const { return int(items_.size()); }
    const Item& item(int index) const { return items_.at(size_t(index)); }
    CheckState state(int index) const { return item(index).state; }
    bool checked(int index) const { return state(index) == CheckState::Checked; }
    // From code: the view follows, no event. Out-of-range indexes are ignored.
    void setState(int index, CheckState s);
    void setChecked(int index, bool b) { setState(index, b ? CheckState::Checked : CheckState::Unchecked); }
    void setItemEnabled(int index, bool b);

    // A third, greyed state in the user's cycle.
    bool allowGrayed = false;

    // The user's toggle of an item: unchecked goes to checked (or greyed when allowed),
    // greyed to checked, checked to unchecked. A disabled item or list does not change.
    void toggle(int index);
    // The user's choice of a state (a front end that knows the state clicked to).
    void userSetState(int index, CheckState s);

    std::function<void(int index, CheckState state)> onChange;

private:
    std::vector<Item> items_;
};

} // namespace toolkit
