#pragma once
// The user's own folders as the desktop knows them: the home folder, the data folder that
// holds the trash, the desktop. With a machine root they all lie inside it ("home"), so a
// program run on a test machine never reaches the real user's trash or desktop.
#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform::posix {

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string&)>;

struct UserFolders {
    std::string home;     // native, without a trailing "/"; empty when unknown
    std::string dataHome; // $XDG_DATA_HOME, or home + "/.local/share"
    std::string desktop;  // native; empty when the user has no desktop folder of its own
    EnvironmentLookup environment; // the program's environment (PATH for launchers)
};

// The folders of the user running the process ($HOME, $XDG_DATA_HOME, the desktop named in
// the user's "user-dirs.dirs").
UserFolders userFoldersOfProcess(const EnvironmentLookup& environment);
// The folders of a machine root's user: "<root>/home" and below.
UserFolders userFoldersOfMachineRoot(const std::string& machineRoot, const EnvironmentLookup& environment);

// The desktop trash (the freedesktop.org layout: "files/" holds what was trashed, "info/"
// a ".trashinfo" record of its old place and time for each).
namespace trash {

// The user's trash folders that exist: the home trash, then for each top folder (the root
// of a mounted file system) "<top>/.Trash/<uid>" (only under a sticky, real ".Trash") and
// "<top>/.Trash-<uid>".
std::vector<std::string> folders(const UserFolders& user, const std::vector<std::string>& tops, uid_t uid);
// Empties one trash folder for good, never following a link out of it. True when all went.
bool empty(const std::string& trashFolder);
// Moves `native` into the trash of its file system (the home trash for what lies in the
// home's), writing its record first. False, and nothing moved, when no trash takes it.
bool moveTo(const std::string& native, const UserFolders& user, const std::vector<std::string>& tops, uid_t uid);

} // namespace trash

// True for a link whose target does not exist, or a desktop launcher (".desktop",
// Type=Application) whose program (TryExec, else the first word of Exec) is not found as
// an executable file, by its path or along PATH.
bool isBrokenShortcut(const std::string& native, const EnvironmentLookup& environment);

} // namespace platform::posix
