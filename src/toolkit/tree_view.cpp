#include "toolkit/tree_view.h"

namespace toolkit {

int TreeNode::index() const {
    const auto& siblings = parent_ ? parent_->children_ : tree_->roots();
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

void TreeNode::setHasChildren(bool b) {
    hasChildren_ = b;
}

TreeNode& TreeView::add(TreeNode* parent, std::string text, int imageIndex, std::string data) {
    auto node = std::make_unique<TreeNode>(this, parent, std::move(text), imageIndex, std::move(data));
    TreeNode& ref = *node;
    (parent ? parent->children_ : roots_).push_back(std::move(node));
    changedNode_ = parent;
    changed(Property::Items);
    return ref;
}

void TreeView::clear() {
    bool hadSelection = selected_ != nullptr;
    selected_ = nullptr;
    roots_.clear();
    changedNode_ = nullptr;
    changed(Property::Items);
    if (hadSelection && onChange)
        onChange(nullptr);
}

void TreeView::expand(TreeNode& node) {
    if (node.expanded_)
        return;
    if (!node.childrenRead_) {
        node.childrenRead_ = true;
        if (onExpanding)
            onExpanding(node);
        node.hasChildren_ = false; // what there is to show is in children_ now
    }
    node.expanded_ = true;
    changedNode_ = &node;
    changed(Property::Other);
}

void TreeView::collapse(TreeNode& node) {
    if (!node.expanded_)
        return;
    node.expanded_ = false;
    changedNode_ = &node;
    changed(Property::Other);
}

void TreeView::select(TreeNode* node) {
    if (node == selected_)
        return;
    selected_ = node;
    changed(Property::Selection);
    if (onChange)
        onChange(node);
}

} // namespace toolkit
