#include "toolkit/list_view.h"

#include <algorithm>
#include <stdexcept>

#include "common/ascii_text.h"

namespace toolkit {

void ListView::setColumns(std::vector<ListColumn> c) {
    columns_ = std::move(c);
    changed(Property::Columns);
}

void ListView::setViewStyle(ViewStyle s) {
    if (s == viewStyle_)
        return;
    viewStyle_ = s;
    changed(Property::Style);
}

void ListView::setOwnerData(bool b) {
    ownerData_ = b;
    items_.clear();
    virtualCount_ = 0;
    selected_.clear();
    focused_ = -1;
    rowsChanged(RowChange::Reset, 0, 0);
}

int ListView::count() const { return ownerData_ ? virtualCount_ : int(items_.size()); }

void ListView::setItemCount(int n) {
    if (!ownerData_)
        throw std::logic_error("setItemCount needs a virtual list");
    n = std::max(0, n);
    int old = virtualCount_;
    virtualCount_ = n;
    std::erase_if(selected_, [n](int i) { return i >= n; });
    if (focused_ >= n)
        focused_ = -1;
    if (n > old)
        rowsChanged(RowChange::Inserted, old, n - old);
    else if (n < old)
        rowsChanged(RowChange::Removed, n, old - n);
}

void ListView::insertRows(int index, int n) {
    if (!ownerData_)
        throw std::logic_error("insertRows needs a virtual list");
    if (n <= 0)
        return;
    index = std::clamp(index, 0, virtualCount_);
    virtualCount_ += n;
    bool moved = shiftSelectionForInsert(index, n);
    rowsChanged(RowChange::Inserted, index, n);
    if (moved)
        changed(Property::Selection);
}

bool ListView::shiftSelectionForInsert(int index, int n) {
    bool moved = focused_ >= index || (!selected_.empty() && *selected_.rbegin() >= index);
    std::set<int> shifted;
    for (int s : selected_)
        shifted.insert(s >= index ? s + n : s);
    selected_ = std::move(shifted);
    if (focused_ >= index)
        focused_ += n;
    return moved;
}

ListItem ListView::item(int index) const {
    if (index < 0 || index >= count())
        throw std::out_of_range("list index out of bounds");
    if (!ownerData_) {
        ListItem it = items_[size_t(index)];
        it.index = index;
        return it;
    }
    ListItem it;
    it.index = index;
    if (onData)
        onData(it);
    return it;
}

int ListView::addItem(ListItem it) {
    insertItem(count(), std::move(it));
    return count() - 1;
}

void ListView::insertItem(int index, ListItem it) {
    if (ownerData_)
        throw std::logic_error("a virtual list stores no rows");
    index = std::clamp(index, 0, int(items_.size()));
    items_.insert(items_.begin() + index, std::move(it));
    bool moved = shiftSelectionForInsert(index, 1);
    rowsChanged(RowChange::Inserted, index, 1);
    if (moved)
        changed(Property::Selection);
}

void ListView::removeItem(int index) {
    if (ownerData_ || index < 0 || index >= int(items_.size()))
        throw std::out_of_range("list index out of bounds");
    items_.erase(items_.begin() + index);
    fixSelectionAfterRemove(index);
    rowsChanged(RowChange::Removed, index, 1);
}

void ListView::fixSelectionAfterRemove(int index) {
    std::set<int> moved;
    for (int s : selected_)
        if (s != index)
            moved.insert(s > index ? s - 1 : s);
    selected_ = moved;
    if (focused_ == index)
        focused_ = -1;
    else if (focused_ > index)
        --focused_;
}

void ListView::setItem(int index, ListItem it) {
    if (ownerData_ || index < 0 || index >= int(items_.size()))
        throw std::out_of_range("list index out of bounds");
    items_[size_t(index)] = std::move(it);
    rowsChanged(RowChange::Changed, index, 1);
}

void ListView::setChecked(int index, bool checked) {
    if (ownerData_ || index < 0 || index >= int(items_.size()))
        throw std::out_of_range("list index out of bounds");
    if (items_[size_t(index)].checked == checked)
        return;
    items_[size_t(index)].checked = checked;
    rowsChanged(RowChange::Changed, index, 1);
}

void ListView::clear() {
    items_.clear();
    if (ownerData_)
        virtualCount_ = 0;
    selected_.clear();
    focused_ = -1;
    scrollTarget_ = -1;
    rowsChanged(RowChange::Reset, 0, 0);
}

ListItem* ListView::itemRef(int index) {
    if (ownerData_ || index < 0 || index >= int(items_.size()))
        return nullptr;
    return &items_[size_t(index)];
}

void ListView::rowChanged(int index) {
    if (index >= 0 && index < count())
        rowsChanged(RowChange::Changed, index, 1);
}

void ListView::invalidate() { rowsChanged(RowChange::Reset, 0, 0); }

void ListView::setItemIndex(int index) {
    selected_.clear();
    if (index >= 0 && index < count()) {
        selected_.insert(index);
        focused_ = index;
    } else {
        focused_ = -1;
    }
    changed(Property::Selection);
}

void ListView::setSelected(int index, bool on) {
    if (index < 0 || index >= count())
        return;
    if (on) {
        if (!multiSelect_)
            selected_.clear();
        selected_.insert(index);
        focused_ = index;
    } else {
        selected_.erase(index);
    }
    changed(Property::Selection);
}

void ListView::clearSelection() {
    selected_.clear();
    changed(Property::Selection);
}

void ListView::makeVisible(int index) {
    scrollTarget_ = index;
    changed(Property::ScrollTo);
}

void ListView::customSort(int data) {
    if (ownerData_)
        return;
    std::vector<ListItem> sorted = items_;
    auto less = [&](const ListItem& a, const ListItem& b) {
        int cmp = 0;
        if (onCompare)
            onCompare(a, b, data, cmp);
        else
            cmp = a.caption.compare(b.caption);
        return cmp < 0;
    };
    std::stable_sort(sorted.begin(), sorted.end(), less);
    items_ = std::move(sorted);
    selected_.clear();
    focused_ = -1;
    rowsChanged(RowChange::Reset, 0, 0);
}

void ListView::userToggleCheck(int index) {
    if (index < 0 || index >= count())
        return;
    bool now;
    if (ownerData_) {
        now = !item(index).checked;
    } else {
        now = !items_[size_t(index)].checked;
        items_[size_t(index)].checked = now;
    }
    if (onItemChecked)
        onItemChecked(index, now);
    rowsChanged(RowChange::Changed, index, 1);
}

void ListView::userSelect(int index, bool extend) {
    if (!extend || !multiSelect_)
        selected_.clear();
    if (index >= 0 && index < count()) {
        selected_.insert(index);
        focused_ = index;
    }
    changed(Property::Selection);
    if (onSelectItem && index >= 0)
        onSelectItem(index, true);
}

void ListView::userSetSelection(const std::set<int>& rows, int focused) {
    std::set<int> before = selected_;
    selected_.clear();
    for (int r : rows)
        if (r >= 0 && r < count())
            selected_.insert(r);
    if (!multiSelect_ && selected_.size() > 1) {
        int keep = selected_.count(focused) ? focused : *selected_.begin();
        selected_ = {keep};
    }
    focused_ = focused >= 0 && focused < count() ? focused : -1;
    if (before == selected_)
        return;
    changed(Property::Selection);
    if (!onSelectItem)
        return;
    for (int r : before)
        if (!selected_.count(r))
            onSelectItem(r, false);
    for (int r : selected_)
        if (!before.count(r))
            onSelectItem(r, true);
}

int ListView::userFind(FindKind kind, const std::string& text, int start, bool wrap) const {
    if (onDataFind)
        return onDataFind(kind, text, start, wrap);
    int n = count();
    std::string want = AsciiUpper(text);
    for (int k = 0; k < n; ++k) {
        int i = start + k;
        if (i >= n) {
            if (!wrap)
                break;
            i -= n;
        }
        std::string cap = AsciiUpper(item(i).caption);
        if (kind == FindKind::Exact ? cap == want : cap.compare(0, want.size(), want) == 0)
            return i;
    }
    return -1;
}

namespace {

// Characters, not bytes: a Chinese letter is one key of a search.
size_t characters(const std::string& s) {
    size_t n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

int ListView::userTypeAhead(const std::string& typed, std::int64_t nowMs, int intervalMs, int current) {
    if (count() == 0)
        return -1;
    if (nowMs - typedAt_ > intervalMs)
        typed_.clear();
    typedAt_ = nowMs;
    typed_ += typed;
    int start = current >= 0 ? current : 0;
    if (characters(typed_) == 1)
        ++start; // a new search starts past the current row
    if (start >= count())
        start = 0;
    return userFind(FindKind::Partial, typed_, start, true);
}

ItemStyle ListView::styleOf(int index, int subItem) const {
    ItemStyle s;
    if (onCustomDraw)
        onCustomDraw(index, subItem, s);
    return s;
}

int ListView::subscribeRows(RowListener l) { return rowListeners_.add(std::move(l)); }

void ListView::unsubscribeRows(int id) { rowListeners_.remove(id); }

void ListView::rowsChanged(RowChange c, int first, int n) { rowListeners_.notify(c, first, n); }

} // namespace toolkit
