#pragma once
// A check list shown through an item model over the CheckList control model. A click on
// an item's box is the user's toggle: it reaches the model, which fires its change event.
#include <QAbstractListModel>
#include <QListView>
#include <memory>

#include "qt/control_binding.h"
#include "toolkit/check_list.h"

namespace qtui {

class CheckListModel : public QAbstractListModel {
    Q_OBJECT
public:
    CheckListModel(toolkit::CheckList& list, QObject* parent) : QAbstractListModel(parent), list_(&list) {}
    // The model shows nothing from now on (the list is going away).
    void detach();
    // The items were replaced, or a state or an enabled flag changed.
    void itemsChanged();
    void statesChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    toolkit::CheckList* list_;
};

std::unique_ptr<ControlBinding> bindCheckList(toolkit::CheckList& list, QWidget* parent);

} // namespace qtui
