#include <gtest/gtest.h>

#include "toolkit/tree_view.h"

using toolkit::Property;
using toolkit::TreeNode;
using toolkit::TreeView;

TEST(TreeViewModel, ChildrenAreReadOnceOnFirstExpandAndSelectionFiresOnChange) {
    TreeView tv(nullptr, "tv");
    int reads = 0, changes = 0;
    std::vector<Property> heard;
    tv.subscribe([&](toolkit::Control&, Property p) { heard.push_back(p); });
    tv.onExpanding = [&](TreeNode& n) {
        ++reads;
        tv.add(&n, "child", 1, n.data + "\\child");
    };
    tv.onChange = [&](TreeNode*) { ++changes; };

    TreeNode& root = tv.add(nullptr, "root", 0, "R");
    root.setHasChildren(true);
    EXPECT_TRUE(root.hasChildren());
    tv.expand(root);
    tv.collapse(root);
    tv.expand(root);
    EXPECT_EQ(reads, 1);
    ASSERT_EQ(root.children().size(), 1u);
    EXPECT_EQ(root.children()[0]->data, "R\\child");
    EXPECT_EQ(root.children()[0]->index(), 0);

    // A node that turned out empty loses its expander.
    TreeNode& leaf = *root.children()[0];
    leaf.setHasChildren(true);
    tv.onExpanding = nullptr;
    tv.expand(leaf);
    EXPECT_FALSE(leaf.hasChildren());

    tv.select(&leaf);
    tv.select(&leaf);
    EXPECT_EQ(changes, 1);
    tv.clear();
    EXPECT_EQ(tv.selected(), nullptr);
    EXPECT_EQ(changes, 2);
    EXPECT_NE(std::find(heard.begin(), heard.end(), Property::Selection), heard.end());
    EXPECT_EQ(heard.back(), Property::Items);
}
