#include "app/directory_dialog.h"

#include <cstddef>

#include "common/ascii_text.h"
#include "common/paths.h"
#include "platform/platform.h"
#include "services/machine_texts.h"

namespace {

constexpr int kDriveImage = 0;
constexpr int kFolderImage = 1;

} // namespace

std::string ShortenStatusPath(const std::string& path) {
    size_t last = path.rfind('\\');
    if (path.size() < 45 || last == std::string::npos)
        return path;
    std::string tail = path.substr(last);
    long k = 45 - static_cast<long>(tail.size());
    long headLength = k % 2 == 0 ? k - 4 : k - 3;
    std::string head = headLength > 0 ? path.substr(0, static_cast<size_t>(headLength)) : std::string();
    return head + "..." + tail;
}

TFolderBrowser::TFolderBrowser(const std::string& title)
    : Form("TFolderBrowser"),
      lTitle(this, "lTitle"),
      tvFolders(this, "tvFolders"),
      lStatus(this, "lStatus"),
      btnOK(this, "btnOK"),
      btnCancel(this, "btnCancel") {
    setCaption("浏览文件夹");
    borderStyle = toolkit::BorderStyle::Dialog;
    position = toolkit::FormPosition::ScreenCenter;
    setClientSize(320, 400);
    lTitle.setCaption(title);
    lTitle.setBounds(12, 8, 296, 36);
    lStatus.setBounds(12, 46, 296, 18);
    tvFolders.setBounds(12, 68, 296, 280);
    btnOK.setCaption("确定");
    btnOK.setBounds(148, 360, 75, 25);
    btnOK.modalResult = toolkit::mrOk;
    btnOK.isDefault = true;
    btnOK.setEnabled(false); // nothing to confirm before a folder is selected
    btnCancel.setCaption("取消");
    btnCancel.setBounds(233, 360, 75, 25);
    btnCancel.modalResult = toolkit::mrCancel;
    btnCancel.isCancel = true;

    tvFolders.onExpanding = [this](toolkit::TreeNode& n) { tvFoldersExpanding(n); };
    tvFolders.onChange = [this](toolkit::TreeNode* n) { tvFoldersChange(n); };

    for (const platform::Drive& d : platform::sys().driveMap().drives()) {
        std::string root = std::string(1, d.letter) + ":\\";
        toolkit::TreeNode& node = tvFolders.add(nullptr, PathDisplayName(root), kDriveImage, root);
        node.setHasChildren(true);
    }
}

void TFolderBrowser::tvFoldersExpanding(toolkit::TreeNode& node) {
    // Links and mount points are left out: a folder chosen here is walked and cleaned, and
    // a walk never leaves the tree it starts in.
    std::vector<std::string> names;
    platform::files().listFolder(node.data, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        if (e.isDirectory() && !e.isDots() && !e.isReparsePoint())
            names.push_back(e.name);
        return true;
    });
    for (const std::string& name : names) {
        toolkit::TreeNode& child = tvFolders.add(&node, name, kFolderImage, JoinPath(node.data, name));
        child.setHasChildren(true); // found out when it is opened, so a drive opens at once
    }
}

void TFolderBrowser::tvFoldersChange(toolkit::TreeNode* node) {
    lStatus.setCaption(node ? ShortenStatusPath(node->data) : std::string());
    btnOK.setEnabled(node != nullptr);
}

bool TFolderBrowser::SelectFolder(const std::string& folder) {
    if (folder.size() < 2 || folder[1] != ':')
        return false;
    toolkit::TreeNode* at = nullptr;
    for (const auto& root : tvFolders.roots())
        if (AsciiUpper(root->data[0]) == AsciiUpper(folder[0]))
            at = root.get();
    if (!at)
        return false;
    bool found = true;
    for (const std::string& part : SplitPath(folder.substr(2))) {
        tvFolders.expand(*at);
        toolkit::TreeNode* next = nullptr;
        for (const auto& child : at->children())
            if (SameText(child->text, part))
                next = child.get();
        if (!next) {
            found = false;
            break;
        }
        at = next;
    }
    tvFolders.select(at);
    return found;
}

std::string TFolderBrowser::SelectedPath() const {
    return tvFolders.selected() ? tvFolders.selected()->data : std::string();
}

bool TDirectoryDialog::Execute(toolkit::Form* /*owner*/, const std::string& title, const std::string& initialFolder,
                               std::string& path) {
    path.clear();
    std::string initial = initialFolder;
    if (!initial.empty() && initial.back() == '\\')
        initial.pop_back();
    // The modal run disables every other window of the program while the browser is open.
    TFolderBrowser browser(title);
    browser.onShow = [&] { browser.SelectFolder(initial); };
    int result = browser.showModal();
    if (result != toolkit::mrOk || browser.SelectedPath().empty())
        return false;
    path = browser.SelectedPath();
    return true;
}
