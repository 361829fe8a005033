#include "toolkit/combo_box.h"

namespace toolkit {

void ComboBox::setText(const std::string& s) {
    if (s == text_)
        return;
    text_ = s;
    changed(Property::Text);
}

void ComboBox::insertItem(int index, ComboItem item) {
    if (index < 0 || index > int(items_.size()))
        index = int(items_.size());
    items_.insert(items_.begin() + index, std::move(item));
    if (itemIndex_ >= index)
        ++itemIndex_;
    changed(Property::Items);
}

void ComboBox::setItemText(int index, const std::string& text) {
    if (index < 0 || index >= int(items_.size()))
        return;
    items_[std::size_t(index)].text = text;
    changed(Property::Items);
}

void ComboBox::clearItems() {
    items_.clear();
    itemIndex_ = -1;
    changed(Property::Items);
}

void ComboBox::setItemIndex(int index) {
    if (index < -1 || index >= int(items_.size()))
        index = -1;
    itemIndex_ = index;
    changed(Property::Selection);
    if (index >= 0)
        setText(items_[std::size_t(index)].text);
}

int ComboBox::indexOf(const std::string& text) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].text == text)
            return int(i);
    return -1;
}

void ComboBox::userChoose(int index) {
    setItemIndex(index);
    click();
}

void ComboBox::userType(const std::string& s) {
    itemIndex_ = -1;
    setText(s);
    if (onChange)
        onChange();
}

} // namespace toolkit
