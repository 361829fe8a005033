#pragma once
// A tree of nodes with text and an image, one selected node, and nodes whose children are
// filled in when they are first expanded (a folder tree does not read a whole drive).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/control.h"

namespace toolkit {

class TreeView;

class TreeNode {
public:
    TreeNode(TreeView* tree, TreeNode* parent, std::string text, int imageIndex, std::string data)
        : text(std::move(text)), imageIndex(imageIndex), data(std::move(data)), tree_(tree), parent_(parent) {}
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    std::string text;
    int imageIndex = -1;
    // What the node stands for (the folder picker keeps the folder's path here).
    std::string data;

    TreeNode* parent() const { return parent_; }
    const std::vector<std::unique_ptr<TreeNode>>& children() const { return children_; }
    // Index among its siblings.
    int index() const;

    // Shown with an expander even before its children exist; cleared once they are read.
    bool hasChildren() const { return hasChildren_ || !children_.empty(); }
    void setHasChildren(bool b);
    bool expanded() const { return expanded_; }
    bool childrenRead() const { return childrenRead_; }

private:
    friend class TreeView;
    TreeView* tree_;
    TreeNode* parent_;
    std::vector<std::unique_ptr<TreeNode>> children_;
    bool hasChildren_ = false;
    bool expanded_ = false;
    bool childrenRead_ = false;
};

// Views hear Property::Items after nodes are added or removed (the node whose children
// changed is in changedNode(), nullptr for the top level), Property::Other after a node
// expands or collapses, and Property::Selection after the selection moves.
class TreeView : public Control {
public:
    TreeView(Form* owner, std::string name) : Control(owner, std::move(name), ControlKind::TreeView) {}

    const std::vector<std::unique_ptr<TreeNode>>& roots() const { return roots_; }
    // Adds a node at the end of `parent`'s children (nullptr: the top level).
    TreeNode& add(TreeNode* parent, std::string text, int imageIndex = -1, std::string data = {});
    void clear();

    // Expanding a node for the first time asks onExpanding to fill in its children.
    void expand(TreeNode& node);
    void collapse(TreeNode& node);

    TreeNode* selected() const { return selected_; }
    // Selecting fires onChange when the selection changes, from code and from the user alike.
    void select(TreeNode* node);

    std::function<void(TreeNode& node)> onExpanding;
    std::function<void(TreeNode* node)> onChange;

    TreeNode* changedNode() const { return changedNode_; }

private:
    std::vector<std::unique_ptr<TreeNode>> roots_;
    TreeNode* selected_ = nullptr;
    TreeNode* changedNode_ = nullptr;
};

} // namespace toolkit
