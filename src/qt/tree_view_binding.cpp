#include "qt/tree_view_binding.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

#include "qt/qt_text.h"
#include "toolkit/toolkit.h"

namespace qtui {

using namespace toolkit;

TreeViewModel::TreeViewModel(TreeView& tree, QObject* parent) : QAbstractItemModel(parent), tree_(&tree) {
    listener_ = tree.subscribe([this](Control&, Property p) {
        if (p == Property::Items)
            itemsChanged();
    });
}

TreeViewModel::~TreeViewModel() { detach(); }

void TreeViewModel::detach(bool listening) {
    if (!tree_)
        return;
    if (listening)
        tree_->unsubscribe(listener_);
    beginResetModel();
    tree_ = nullptr;
    shown_.clear();
    endResetModel();
}

const std::vector<std::unique_ptr<TreeNode>>* TreeViewModel::childrenOf(const TreeNode* node) const {
    if (!tree_)
        return nullptr;
    return node ? &node->children() : &tree_->roots();
}

int TreeViewModel::shown(const TreeNode* node) const {
    auto it = shown_.find(node);
    if (it != shown_.end())
        return it->second;
    const auto* kids = childrenOf(node);
    int n = kids ? int(kids->size()) : 0;
    shown_[node] = n;
    return n;
}

void TreeViewModel::itemsChanged() {
    const TreeNode* node = tree_->changedNode();
    const auto* kids = childrenOf(node);
    int now = kids ? int(kids->size()) : 0;
    auto it = shown_.find(node);
    if (it == shown_.end()) {
        // Nobody has looked at these children yet: nothing to announce.
        if (!node && now == 0) {
            beginResetModel();
            shown_.clear();
            endResetModel();
        }
        return;
    }
    int before = it->second;
    if (now > before) {
        beginInsertRows(indexOf(node), before, now - 1);
        it->second = now;
        endInsertRows();
    } else if (now < before) {
        // Only a clear takes nodes away.
        beginResetModel();
        shown_.clear();
        endResetModel();
    }
}

QModelIndex TreeViewModel::indexOf(const TreeNode* node) const {
    if (!node || !tree_)
        return {};
    int row = node->index();
    if (row < 0 || row >= shown(node->parent()))
        return {};
    return createIndex(row, 0, const_cast<TreeNode*>(node));
}

TreeNode* TreeViewModel::nodeOf(const QModelIndex& index) const {
    return index.isValid() && tree_ ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeViewModel::index(int row, int column, const QModelIndex& parent) const {
    if (!tree_ || column != 0 || row < 0)
        return {};
    const TreeNode* p = nodeOf(parent);
    if (parent.isValid() && !p)
        return {};
    const auto* kids = childrenOf(p);
    if (!kids || row >= shown(p) || std::size_t(row) >= kids->size())
        return {};
    return createIndex(row, 0, (*kids)[std::size_t(row)].get());
}

QModelIndex TreeViewModel::parent(const QModelIndex& child) const {
    const TreeNode* n = nodeOf(child);
    return n ? indexOf(n->parent()) : QModelIndex();
}

int TreeViewModel::rowCount(const QModelIndex& parent) const {
    if (!tree_ || parent.column() > 0)
        return 0;
    return shown(nodeOf(parent));
}

int TreeViewModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeViewModel::hasChildren(const QModelIndex& parent) const {
    if (!tree_)
        return false;
    const TreeNode* n = nodeOf(parent);
    // A node not yet opened shows its expander: its children are read on opening.
    return n ? n->hasChildren() : !tree_->roots().empty();
}

QVariant TreeViewModel::data(const QModelIndex& index, int role) const {
    const TreeNode* n = nodeOf(index);
    if (!n)
        return {};
    if (role == Qt::DisplayRole)
        return qs(n->text);
    if (role == Qt::DecorationRole && n->imageIndex >= 0) {
        // The trees' image lists: a drive first, then a folder.
        QStyle* s = QApplication::style();
        return s->standardIcon(n->imageIndex == 0 ? QStyle::SP_DriveHDIcon : QStyle::SP_DirIcon);
    }
    return {};
}

Qt::ItemFlags TreeViewModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

namespace {

class TreeViewBinding : public ControlBinding {
public:
    TreeViewBinding(TreeView& tree, QTreeView* w)
        : ControlBinding(tree, w), tree_(tree), view_(w), model_(new TreeViewModel(tree, w)) {
        w->setHeaderHidden(true);
        w->setUniformRowHeights(true);
        w->setEditTriggers(QAbstractItemView::NoEditTriggers);
        w->setSelectionMode(QAbstractItemView::SingleSelection);
        w->setModel(model_);
        connect(w, &QTreeView::expanded, this, [this](const QModelIndex& i) {
            if (syncing_)
                return;
            if (TreeNode* n = model_->nodeOf(i))
                dispatch([this, n] { tree_.expand(*n); });
        });
        connect(w, &QTreeView::collapsed, this, [this](const QModelIndex& i) {
            if (syncing_)
                return;
            if (TreeNode* n = model_->nodeOf(i))
                dispatch([this, n] { tree_.collapse(*n); });
        });
        connect(w->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& i) {
            if (syncing_)
                return;
            // A view that gets the focus with nothing chosen makes its first row current
            // without selecting it: that is no choice of the user's.
            if (i.isValid() && !view_->selectionModel()->isSelected(i))
                return;
            TreeNode* n = model_->nodeOf(i);
            dispatch([this, n] { tree_.select(n); });
        });
        // A click on that current row selects it without moving the current row.
        connect(w->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this](const QItemSelection& chosen) {
            if (syncing_ || chosen.indexes().isEmpty())
                return;
            if (TreeNode* n = model_->nodeOf(chosen.indexes().front()); n && n != tree_.selected())
                dispatch([this, n] { tree_.select(n); });
        });
    }
    ~TreeViewBinding() override { model_->detach(!dying_); }

    void apply(Property p) override {
        syncing_ = true;
        // Items need nothing here: the model announces them (after this listener has run).
        if (p == Property::Other)
            showExpansion(nullptr);
        if (p == Property::Selection) {
            QModelIndex i = model_->indexOf(tree_.selected());
            if (i != view_->currentIndex()) {
                view_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
                if (i.isValid())
                    view_->scrollTo(i);
            }
        }
        syncing_ = false;
    }

private:
    // The view opens what the model has opened, from the top down.
    void showExpansion(const TreeNode* node) {
        const auto& kids = node ? node->children() : tree_.roots();
        for (const auto& k : kids) {
            QModelIndex i = model_->indexOf(k.get());
            if (!i.isValid())
                continue;
            if (k->expanded() != view_->isExpanded(i))
                view_->setExpanded(i, k->expanded());
            if (k->expanded())
                showExpansion(k.get());
        }
    }

    TreeView& tree_;
    QTreeView* view_;
    TreeViewModel* model_;
    bool syncing_ = false;
};

} // namespace

std::unique_ptr<ControlBinding> bindTreeView(TreeView& tree, QWidget* parent) {
    return std::make_unique<TreeViewBinding>(tree, new QTreeView(parent));
}

} // namespace qtui
