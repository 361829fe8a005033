#pragma once
// A grid of switches shown as a two-column table over the SwitchGrid control model: the
// value of a Boolean row is a check box, that of an integer row a number edited with a
// spin box that takes only the row's range.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <memory>

#include "qt/control_binding.h"
#include "toolkit/switch_grid.h"

namespace qtui {

class SwitchGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    SwitchGridModel(toolkit::SwitchGrid& grid, QObject* parent) : QAbstractTableModel(parent), grid_(&grid) {}
    void detach();
    void rowsChanged();
    void valuesChanged();
    toolkit::SwitchGrid* grid() const { return grid_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    toolkit::SwitchGrid* grid_;
};

// The spin box of an integer row.
class SwitchGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

std::unique_ptr<ControlBinding> bindSwitchGrid(toolkit::SwitchGrid& grid, QWidget* parent);

} // namespace qtui
