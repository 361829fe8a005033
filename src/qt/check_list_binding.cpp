#include "qt/check_list_binding.h"

#include "qt/qt_text.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

void CheckListModel::detach() {
    beginResetModel();
    list_ = nullptr;
    endResetModel();
}

void CheckListModel::itemsChanged() {
    beginResetModel();
    endResetModel();
}

void CheckListModel::statesChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return (parent.isValid() || !list_) ? 0 : list_->count();
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    if (!list_ || !index.isValid() || index.row() >= list_->count())
        return {};
    const CheckList::Item& item = list_->item(index.row());
    if (role == Qt::DisplayRole)
        return qs(item.caption);
    if (role == Qt::CheckStateRole) {
        switch (item.state) {
        case CheckState::Checked: return Qt::Checked;
        case CheckState::Grayed: return Qt::PartiallyChecked;
        default: return Qt::Unchecked;
        }
    }
    return {};
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant&, int role) {
    if (!list_ || role != Qt::CheckStateRole || !index.isValid() || index.row() >= list_->count())
        return false;
    // The list's own cycle decides the next state, as the user's toggle.
    CheckList* list = list_;
    int row = index.row();
    dispatch([list, row] { list->toggle(row); });
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const {
    if (!list_ || !index.isValid() || index.row() >= list_->count())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
    if (list_->item(index.row()).enabled)
        f |= Qt::ItemIsEnabled;
    return f;
}

namespace {

class CheckListBinding : public ControlBinding {
public:
    CheckListBinding(CheckList& c, QListView* w) : ControlBinding(c, w), model_(new CheckListModel(c, w)) {
        w->setModel(model_);
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    // The widget outlives the binding until the next turn of the event loop.
    ~CheckListBinding() override { model_->detach(); }
    void apply(Property p) override {
        if (p == Property::Items)
            model_->itemsChanged();
        else if (p == Property::Checked)
            model_->statesChanged();
    }

private:
    CheckListModel* model_;
};

} // namespace

std::unique_ptr<ControlBinding> bindCheckList(CheckList& list, QWidget* parent) {
    return std::make_unique<CheckListBinding>(list, new QListView(parent));
}

} // namespace qtui
