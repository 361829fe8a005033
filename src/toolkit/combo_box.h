#pragma once
// An editable drop-down: a text the user may type, and a list of entries, each carrying a
// value of its owner's (the analyzer keeps a folder's identifier list with its entry).
#include <any>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

struct ComboItem {
    std::string text;
    std::any value;
};

class ComboBox : public Control {
public:
    ComboBox(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::ComboBox) {}

    const std::string& text() const { return text_; }
    void setText(const std::string& s);
    const std::vector<ComboItem>& items() const { return items_; }
    void insertItem(int index, ComboItem item);
    void setItemText(int index, const std::string& text);
    void clearItems();
    int itemIndex() const { return itemIndex_; }
    // Selects entry `index` and shows its text; -1 selects none and keeps the text.
    void setItemIndex(int index);
    // The first entry whose text is exactly `text`, or -1.
    int indexOf(const std::string& text) const;
    // Asks the view to select the whole text (it is typed over).
    void selectAll() { changed(Property::Selection); }

    // onClick: the user chose an entry of the list (or pressed Enter in the text).
    std::function<void()> onChange;
    // What a user does, for front ends and tests.
    void userChoose(int index);
    void userType(const std::string& s);
    void userEnter() { click(); }

private:
    std::string text_;
    std::vector<ComboItem> items_;
    int itemIndex_ = -1;
};

} // namespace toolkit
