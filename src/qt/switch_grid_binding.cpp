#include "qt/switch_grid_binding.h"

#include <QHeaderView>
#include <QSpinBox>
#include <QTableView>

#include "qt/qt_text.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

namespace {
constexpr int MinRole = Qt::UserRole + 1;
constexpr int MaxRole = Qt::UserRole + 2;
} // namespace

void SwitchGridModel::detach() {
    beginResetModel();
    grid_ = nullptr;
    endResetModel();
}

void SwitchGridModel::rowsChanged() {
    beginResetModel();
    endResetModel();
}

void SwitchGridModel::valuesChanged() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 1), index(rowCount() - 1, 1));
}

int SwitchGridModel::rowCount(const QModelIndex& parent) const {
    return (parent.isValid() || !grid_) ? 0 : grid_->count();
}

int SwitchGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant SwitchGridModel::data(const QModelIndex& index, int role) const {
    if (!grid_ || !index.isValid() || index.row() >= grid_->count())
        return {};
    const SwitchRow& r = grid_->row(index.row());
    if (index.column() == 0)
        return role == Qt::DisplayRole ? QVariant(qs(r.caption)) : QVariant();
    if (r.kind == SwitchKind::Boolean)
        return role == Qt::CheckStateRole ? QVariant(r.checked ? Qt::Checked : Qt::Unchecked) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return r.value;
    case MinRole: return r.min;
    case MaxRole: return r.max;
    default: return {};
    }
}

bool SwitchGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!grid_ || !index.isValid() || index.column() != 1 || index.row() >= grid_->count())
        return false;
    SwitchGrid* grid = grid_;
    int row = index.row();
    if (grid->row(row).kind == SwitchKind::Boolean) {
        if (role != Qt::CheckStateRole)
            return false;
        if ((value.toInt() == Qt::Checked) != grid->checked(row))
            dispatch([grid, row] { grid->userToggle(row); });
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    bool ok = false;
    int v = value.toInt(&ok);
    if (!ok)
        return false;
    dispatch([grid, row, v] { grid->userSetValue(row, v); });
    return true;
}

Qt::ItemFlags SwitchGridModel::flags(const QModelIndex& index) const {
    if (!grid_ || !index.isValid() || index.row() >= grid_->count())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (grid_->enabled())
        f |= Qt::ItemIsEnabled;
    if (index.column() == 1)
        f |= grid_->row(index.row()).kind == SwitchKind::Boolean ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

QVariant SwitchGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_ || orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 1)
        return {};
    return qs(section == 0 ? grid_->captionTitle() : grid_->valueTitle());
}

QWidget* SwitchGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
    auto* spin = new QSpinBox(parent);
    spin->setRange(index.data(MinRole).toInt(), index.data(MaxRole).toInt());
    spin->setFrame(false);
    return spin;
}

void SwitchGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<QSpinBox*>(editor)->setValue(index.data(Qt::EditRole).toInt());
}

void SwitchGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    auto* spin = static_cast<QSpinBox*>(editor);
    spin->interpretText();
    model->setData(index, spin->value(), Qt::EditRole);
}

namespace {

class SwitchGridBinding : public ControlBinding {
public:
    SwitchGridBinding(SwitchGrid& c, QTableView* w) : ControlBinding(c, w), model_(new SwitchGridModel(c, w)) {
        w->setModel(model_);
        w->setItemDelegateForColumn(1, new SwitchGridDelegate(w));
        w->verticalHeader()->hide();
        w->horizontalHeader()->setStretchLastSection(true);
        w->setSelectionBehavior(QAbstractItemView::SelectRows);
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->setEditTriggers(QAbstractItemView::AllEditTriggers);
    }
    ~SwitchGridBinding() override { model_->detach(); }
    void apply(Property p) override {
        if (p == Property::Rows || p == Property::Columns)
            model_->rowsChanged();
        else if (p == Property::Checked || p == Property::Enabled)
            model_->valuesChanged();
        if (p == Property::Bounds || p == Property::Columns)
            if (auto* view = qobject_cast<QTableView*>(widget_.data()))
                view->setColumnWidth(0, control_.bounds().width / 2);
    }

private:
    SwitchGridModel* model_;
};

} // namespace

std::unique_ptr<ControlBinding> bindSwitchGrid(SwitchGrid& grid, QWidget* parent) {
    return std::make_unique<SwitchGridBinding>(grid, new QTableView(parent));
}

} // namespace qtui
