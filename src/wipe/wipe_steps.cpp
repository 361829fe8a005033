#include "wipe/wipe_steps.h"

#include <exception>
#include <vector>

#include "platform/platform.h"
#include "common/paths.h"
#include "services/folder_sizes.h"
#include "services/machine_texts.h"
#include "toolkit/toolkit.h"

namespace {

// A folder is used only when its text is not empty and it names a real folder (a link to
// one is not entered).
bool folderExists(const std::string& folder) { return !folder.empty() && platform::files().isDirectory(folder); }

void wipeIfExists(const std::string& folder) {
    if (folderExists(folder))
        WipeFolderContents(folder);
}

// Each folder on its own: an error in one does not keep the step from the next.
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (const std::exception&) {
    }
}

// A drive's root ("C:\", "/"): never a folder to empty wholesale, whatever TMPDIR says.
bool isDriveRoot(const std::string& folder) {
    std::string p = folder;
    while (p.size() > 1 && (p.back() == '\\' || p.back() == '/'))
        p.pop_back();
    if (p == "/" || p.empty())
        return true;
    if (p.size() == 2 && p[1] == ':')
        return true;
    for (const platform::Drive& d : platform::sys().driveMap().drives())
        if (platform::toNative(p) == d.nativeRoot)
            return true;
    return false;
}

} // namespace

std::string ProfileFolderOf(const std::string& localSettingsFolder) {
    if (localSettingsFolder.size() <= 15)
        return {};
    return localSettingsFolder.substr(0, localSettingsFolder.size() - 15);
}

TWipeFolders TWipeFolders::FromSystem() {
    TWipeFolders f;
    f.WindowsFolder = ::WindowsFolder();
    f.LocalSettingsFolder = ::LocalSettingsFolder();
    f.ProfileFolder = ProfileFolderOf(f.LocalSettingsFolder);
    f.TmpDirFolder = platform::sys().environment("TMPDIR").value_or("");
    f.SystemTempFolder = platform::machine().temporaryPath();
    return f;
}

void WipeFolderContents(const std::string& folder, TWipeOwners owners) {
    if (folder.empty())
        return;
    auto& files = platform::files();
    struct Entry {
        std::string name;
        bool directory;
    };
    // The names first: the folder changes under the listing as we delete.
    std::vector<Entry> entries;
    if (!files.listFolder(folder, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
            if (!e.isDots())
                entries.push_back({e.name, e.isDirectory()});
            return true;
        }))
        return;
    auto batch = files.beginDeletions();
    for (const Entry& e : entries) {
        try {
            std::string path = JoinPath(folder, e.name);
            if (owners == TWipeOwners::UserOnly && !files.ownedByUser(path))
                continue;
            // A folder goes with its tree (a link to one only itself); a file alone, and
            // only when the system lets it go.
            if (e.directory)
                DeleteTree(path);
            else
                files.deleteFile(path);
        } catch (const std::exception&) {
        }
    }
}

void WipeTemporaryInternetFiles(const TWipeFolders& f) {
    guarded([&] { if (!f.WindowsFolder.empty()) wipeIfExists(f.WindowsFolder + "\\Temporary Internet Files"); });
    guarded([&] { if (!f.LocalSettingsFolder.empty()) wipeIfExists(f.LocalSettingsFolder + "\\Temporary Internet Files"); });
}

void WipeHistory(const TWipeFolders& f) {
    guarded([&] { if (!f.WindowsFolder.empty()) wipeIfExists(f.WindowsFolder + "\\History"); });
    guarded([&] { if (!f.LocalSettingsFolder.empty()) wipeIfExists(f.LocalSettingsFolder + "\\History"); });
}

void WipeCookies(const TWipeFolders& f) {
    guarded([&] { if (!f.WindowsFolder.empty()) wipeIfExists(f.WindowsFolder + "\\cookies"); });
    guarded([&] { if (!f.ProfileFolder.empty()) wipeIfExists(f.ProfileFolder + "\\cookies"); });
}

void WipeRecentFolders(const TWipeFolders& f) {
    guarded([&] { if (!f.WindowsFolder.empty()) WipeFolderContents(f.WindowsFolder + "\\Recent"); });
    guarded([&] { if (!f.ProfileFolder.empty()) WipeFolderContents(f.ProfileFolder + "\\Recent"); });
}

void WipeTemporaryFolders(const TWipeFolders& f) {
    // Temporary folders are shared with other users and services: only the user's own
    // entries go. A TMPDIR that names a whole drive is a mistake, not a folder to empty.
    guarded([&] {
        if (!f.TmpDirFolder.empty() && !isDriveRoot(f.TmpDirFolder))
            WipeFolderContents(f.TmpDirFolder, TWipeOwners::UserOnly);
    });
    guarded([&] {
        if (!f.SystemTempFolder.empty())
            WipeFolderContents(f.SystemTempFolder, TWipeOwners::UserOnly);
    });
}

void EmptyRecycleBins() {
    if (platform::shell().emptyRecycleBins() == platform::RecycleBinResult::NoLibrary) {
        auto& tk = toolkit::Toolkit::current();
        tk.messageBox("Failed to load Shell32.dll.", tk.applicationTitle(), toolkit::MB_OK | toolkit::MB_ICONERROR);
    }
}

void RemoveBrokenShortcuts() {
    auto& shell = platform::shell();
    std::string desktop = shell.desktopFolder();
    if (!folderExists(desktop))
        return;
    std::vector<std::string> names;
    platform::files().listFolder(desktop, platform::ListDetail::Names, [&](const platform::DirEntry& e) {
        if (!e.isDots())
            names.push_back(e.name);
        return true;
    });
    for (const std::string& name : names) {
        try {
            std::string path = JoinPath(desktop, name);
            if (shell.isBrokenShortcut(path))
                shell.moveToRecycleBin(path);
        } catch (const std::exception&) {
        }
    }
}
