#pragma once
// A list view: report columns, rows with check boxes, selection, sorting through a compare
// event, and a virtual mode that stores no rows and asks for each one it shows.
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

class PopupMenu;

struct ListColumn {
    std::string caption;
    int width = 80;
    Alignment alignment = Alignment::Left;
};

struct ListItem {
    std::string caption;
    std::vector<std::string> subItems;
    bool checked = false;
    void* data = nullptr;
    int imageIndex = -1;
    int index = -1; // position in the list (filled when the list hands out an item)
};

// Per-row drawing hints.
struct ItemStyle {
    std::uint32_t textColor = Color::None;
    std::uint32_t background = Color::None;
    bool strikeOut = false;
    bool bold = false;
};

enum class ViewStyle { Icon, SmallIcon, List, Report };

// How the rows changed, for views.
enum class RowChange { Reset, Inserted, Removed, Changed };

// Type-ahead search in a virtual list.
enum class FindKind { Partial, Exact, Data, Position };

class ListView : public Control {
public:
    using RowListener = ListenerList<RowChange, int, int>::Listener; // (change, first, count)

    ListView(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::ListView) {}

    // Columns and looks.
    const std::vector<ListColumn>& columns() const { return columns_; }
    void setColumns(std::vector<ListColumn> c);
    ViewStyle viewStyle() const { return viewStyle_; }
    void setViewStyle(ViewStyle s);
    bool checkBoxes() const { return checkBoxes_; }
    void setCheckBoxes(bool b) { set(checkBoxes_, b, Property::Style); }
    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool b) { set(multiSelect_, b, Property::Style); }
    bool rowSelect() const { return rowSelect_; }
    void setRowSelect(bool b) { set(rowSelect_, b, Property::Style); }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool b) { set(readOnly_, b, Property::Style); }
    bool gridLines() const { return gridLines_; }
    void setGridLines(bool b) { set(gridLines_, b, Property::Style); }
    PopupMenu* popupMenu = nullptr; // read when the user asks for a context menu

    // Rows. In virtual mode (ownerData) the list stores none: count() is set with
    // setItemCount() and item(i) asks the data event for row i.
    bool ownerData() const { return ownerData_; }
    void setOwnerData(bool b);
    int count() const;
    void setItemCount(int n);
    // Virtual mode: the owner's data gained `n` rows at `index`. The selection and the
    // focus stay on the rows they were on, as they do when an owned row is inserted.
    void insertRows(int index, int n = 1);
    ListItem item(int index) const;

    // Owned rows (not in virtual mode). Changing a row's check box from code fires nothing.
    int addItem(ListItem it);
    void insertItem(int index, ListItem it);
    void removeItem(int index);
    void setItem(int index, ListItem it);
    void setChecked(int index, bool checked);
    void clear();
    ListItem* itemRef(int index); // owned mode only; call rowChanged() after editing
    // A row's content changed (either mode): views redraw it.
    void rowChanged(int index);
    // Rows changed in bulk (virtual mode: after the caller's data changed).
    void invalidate();

    // Selection.
    int itemIndex() const { return selected_.empty() ? -1 : focused_ >= 0 && selected_.count(focused_) ? focused_ : *selected_.begin(); }
    void setItemIndex(int index); // selects one row only; -1 clears
    const std::set<int>& selection() const { return selected_; }
    void setSelected(int index, bool on);
    void clearSelection();
    int focused() const { return focused_; }
    // Ask the view to scroll a row into view; views honour it at most once per repaint.
    void makeVisible(int index);
    int scrollTarget() const { return scrollTarget_; }

    // Sorting: sorts the owned rows with the compare event, or with the captions when
    // there is none. In virtual mode the owner sorts its own data.
    void customSort(int data = 0);
    void alphaSort() { customSort(0); }

    // Events.
    std::function<void(ListItem& item)> onData; // virtual mode: fill row item.index
    std::function<void(int from, int to)> onDataHint;
    // Returns the found row or -1.
    std::function<int(FindKind kind, const std::string& text, int start, bool wrap)> onDataFind;
    std::function<void(const ListItem& a, const ListItem& b, int data, int& compare)> onCompare;
    std::function<void(int column)> onColumnClick;
    std::function<void(int index, bool checked)> onItemChecked; // the user's toggle
    std::function<void(int index, bool selected)> onSelectItem;
    std::function<void(int index, int subItem, ItemStyle& style)> onCustomDraw;
    // A key pressed while the list has the focus (the system's virtual-key code); a
    // handler that sets it to 0 keeps the list's own behaviour from it.
    std::function<void(int& key)> onKeyDown;

    // What a user does, for front ends and tests.
    void userToggleCheck(int index);
    void userSelect(int index, bool extend = false);
    // The user left exactly these rows selected (a range drag, a click with modifiers):
    // the select event fires for every row that left or joined the selection.
    void userSetSelection(const std::set<int>& rows, int focused);
    void userColumnClick(int column) {
        if (onColumnClick) onColumnClick(column);
    }
    int userFind(FindKind kind, const std::string& text, int start, bool wrap) const;
    // True when the handler took the key.
    bool userKeyDown(int& key) {
        if (onKeyDown)
            onKeyDown(key);
        return key == 0;
    }
    // The user typed `typed` (one key or more) at `nowMs` on a list whose current row is
    // `current` (-1: none). Keys that follow each other within `intervalMs` build one
    // search text, as the system's lists do; a search of one character starts past the
    // current row, so typing the same letter again goes on to the next match. Returns the
    // row found or -1.
    int userTypeAhead(const std::string& typed, std::int64_t nowMs, int intervalMs, int current);
    // The search text typed so far.
    const std::string& typedText() const { return typed_; }

    ItemStyle styleOf(int index, int subItem) const;

    int subscribeRows(RowListener l);
    void unsubscribeRows(int id);

private:
    void rowsChanged(RowChange c, int first, int n);
    void fixSelectionAfterRemove(int index);
    // Moves the selection and the focus past `n` rows inserted at `index`; true if they moved.
    bool shiftSelectionForInsert(int index, int n);

    std::vector<ListColumn> columns_;
    ViewStyle viewStyle_ = ViewStyle::Report;
    bool ownerData_ = false;
    int virtualCount_ = 0;
    std::vector<ListItem> items_;
    std::set<int> selected_;
    int focused_ = -1;
    int scrollTarget_ = -1;
    bool checkBoxes_ = false;
    bool multiSelect_ = false;
    bool rowSelect_ = true;
    bool readOnly_ = true;
    bool gridLines_ = false;
    std::string typed_;
    std::int64_t typedAt_ = 0;
    ListenerList<RowChange, int, int> rowListeners_;
};

} // namespace toolkit
