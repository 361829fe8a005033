#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "toolkit/check_list.h"
#include "toolkit/form.h"

using namespace toolkit;

namespace {

struct Listed {
    Form form{"TListed"};
    CheckList list{&form, "clItems"};
    std::vector<std::pair<int, CheckState>> changes;
    Listed() {
        list.setItems({"一", "二", "三"});
        list.onChange = [this](int i, CheckState s) { changes.emplace_back(i, s); };
    }
};

} // namespace

TEST(CheckList, StatesSetFromCodeFireNothingAndTheUsersToggleFiresIndexAndState) {
    Listed l;
    l.list.setChecked(0, true);
    l.list.setState(2, CheckState::Grayed);
    l.list.setChecked(7, true); // no such item
    EXPECT_TRUE(l.changes.empty());
    EXPECT_TRUE(l.list.checked(0));
    EXPECT_EQ(l.list.state(2), CheckState::Grayed);

    l.list.toggle(0);
    l.list.toggle(1);
    l.list.toggle(2);
    EXPECT_EQ(l.changes, (std::vector<std::pair<int, CheckState>>{
                             {0, CheckState::Unchecked}, {1, CheckState::Checked}, {2, CheckState::Checked}}));
}

TEST(CheckList, TheUsersCycleTakesInTheGreyedStateOnlyWhenAllowed) {
    struct Case {
        const char* label;
        bool allowGrayed;
        std::vector<CheckState> cycle;
    };
    const Case cases[] = {
        {"two states", false, {CheckState::Checked, CheckState::Unchecked, CheckState::Checked}},
        {"three states", true, {CheckState::Grayed, CheckState::Checked, CheckState::Unchecked}},
    };
    for (const Case& c : cases) {
        Listed l;
        l.list.allowGrayed = c.allowGrayed;
        std::vector<CheckState> seen;
        for (size_t i = 0; i < c.cycle.size(); ++i) {
            l.list.toggle(1);
            seen.push_back(l.list.state(1));
        }
        EXPECT_EQ(seen, c.cycle) << c.label;
    }
}

TEST(CheckList, ADisabledItemOrListIgnoresTheUser) {
    Listed l;
    l.list.setItemEnabled(0, false);
    l.list.toggle(0);
    l.list.setEnabled(false);
    l.list.toggle(1);
    l.list.userSetState(2, CheckState::Checked);
    EXPECT_TRUE(l.changes.empty());
    EXPECT_FALSE(l.list.checked(0));
    l.list.setChecked(1, true); // code still sets it
    EXPECT_TRUE(l.list.checked(1));
}
