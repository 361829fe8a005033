#pragma once
// The folder picker: a modal choice of one existing folder among the drives and their
// folders, with a title, a preselected folder and the selected path shown as a status text.
#include <string>

#include "toolkit/control.h"
#include "toolkit/form.h"
#include "toolkit/tree_view.h"

// The status text for a selected path: whole below 45 characters or without "\", else
// its head, "..." and its last part, 44 or 45 characters in all.
std::string ShortenStatusPath(const std::string& path);

// The browser window itself; TDirectoryDialog::Execute runs it.
class TFolderBrowser : public toolkit::Form {
public:
    explicit TFolderBrowser(const std::string& title = {});

    toolkit::Label lTitle;     // the caller's title text
    toolkit::TreeView tvFolders; // drives, then their folders, read when first expanded
    toolkit::Label lStatus;    // the selected path, shortened
    toolkit::Button btnOK, btnCancel;

    // Selects `folder` (a drive path such as "C:\dir" or "c:"), expanding the way to it.
    // Where a part of it does not exist, the deepest folder found is selected; false then.
    bool SelectFolder(const std::string& folder);
    // The drive path of the selected node; empty when nothing is selected.
    std::string SelectedPath() const;

    void tvFoldersExpanding(toolkit::TreeNode& node);
    void tvFoldersChange(toolkit::TreeNode* node);
};

class TDirectoryDialog {
public:
    // True with the chosen folder's drive path in `path`; False with an empty `path` when
    // the user cancels. One trailing "\" of `initialFolder` is dropped before it is selected.
    static bool Execute(toolkit::Form* owner, const std::string& title, const std::string& initialFolder,
                        std::string& path);
};
