#pragma once
// The traces the privacy wipe removes, step by step, and the folders it works on.
#include <string>

// The folders of the wipe, each a text that may be empty.
struct TWipeFolders {
    std::string WindowsFolder;
    std::string LocalSettingsFolder;
    std::string ProfileFolder;      // the local-settings folder less its last 15 characters
    std::string TmpDirFolder;       // the TMPDIR variable
    std::string SystemTempFolder;   // the system's temporary path, ending in a separator

    // The folders as the system reports them now.
    static TWipeFolders FromSystem();
};

// The local-settings folder with its last 15 characters dropped (a separator and "Local
// Settings"); empty for a text of 15 characters or fewer.
std::string ProfileFolderOf(const std::string& localSettingsFolder);

// Whose entries a wipe removes: anyone's, or only the user's own (a shared temporary folder).
enum class TWipeOwners { Anyone, UserOnly };

// Removes everything inside `folder` and keeps the folder: subfolders with their whole tree,
// files one by one. What the system refuses to delete stays, silently, and the walk goes
// on; a missing or unreadable folder is nothing to do. With UserOnly, entries of other
// users are left alone.
void WipeFolderContents(const std::string& folder, TWipeOwners owners = TWipeOwners::Anyone);

// The steps, in the order of the run.
void WipeTemporaryInternetFiles(const TWipeFolders& f); // A
void WipeHistory(const TWipeFolders& f);                // B
void WipeCookies(const TWipeFolders& f);                // C
void WipeRecentFolders(const TWipeFolders& f);          // D
void WipeTemporaryFolders(const TWipeFolders& f);       // E
void EmptyRecycleBins();                                 // F
// G: moves each broken shortcut of the user's desktop to the recycle bin, where it can be
// restored from; nothing else on the desktop is touched.
void RemoveBrokenShortcuts();
