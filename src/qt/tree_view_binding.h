#pragma once
// A tree view shown through an item model over the TreeView control model. A node's
// children are read when the user first opens it: the view's expansion asks the model to
// expand, whose event fills them in.
#include <QAbstractItemModel>
#include <QTreeView>
#include <memory>
#include <unordered_map>

#include "qt/control_binding.h"
#include "toolkit/tree_view.h"

namespace qtui {

class TreeViewModel : public QAbstractItemModel {
    Q_OBJECT
public:
    TreeViewModel(toolkit::TreeView& tree, QObject* parent);
    ~TreeViewModel() override;
    // The model shows nothing from now on; `listening` false when the tree is going away.
    void detach(bool listening = true);

    QModelIndex indexOf(const toolkit::TreeNode* node) const;
    toolkit::TreeNode* nodeOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void itemsChanged();
    const std::vector<std::unique_ptr<toolkit::TreeNode>>* childrenOf(const toolkit::TreeNode* node) const;
    int shown(const toolkit::TreeNode* node) const;

    toolkit::TreeView* tree_;
    // How many children of each node the view has been told of: the tree announces
    // additions after the fact.
    mutable std::unordered_map<const toolkit::TreeNode*, int> shown_;
    int listener_ = 0;
};

std::unique_ptr<ControlBinding> bindTreeView(toolkit::TreeView& tree, QWidget* parent);

} // namespace qtui
