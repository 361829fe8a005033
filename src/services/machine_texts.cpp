#include "services/machine_texts.h"

#include "platform/platform.h"

namespace {

const char* const kShellFolders = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

std::string LocalSettingsFolder() {
    auto& reg = platform::registry();
    if (!reg.createKey(platform::RegistryRoot::CurrentUser, kShellFolders))
        return {};
    auto v = reg.readValue(platform::RegistryRoot::CurrentUser, kShellFolders, "Local Settings");
    if (!v || !v->isString())
        return {};
    return v->data;
}

std::string WindowsFolder() { return platform::machine().windowsFolder(); }

std::string PathDisplayName(const std::string& path) {
    auto name = platform::shell().displayName(path);
    return name ? *name : path;
}

std::string OsVersionText() {
    platform::OsVersion v;
    if (!platform::machine().osVersion(v))
        return {};
    const char* name = v.platformId == platform::VER_PLATFORM_WIN32s         ? "Win32s"
                       : v.platformId == platform::VER_PLATFORM_WIN32_WINDOWS ? "Windows 95"
                       : v.platformId == platform::VER_PLATFORM_WIN32_NT      ? "Windows NT"
                                                                              : "";
    return std::string(name) + " Version " + std::to_string(v.major) + "." + std::to_string(v.minor) +
           "\r\n (Build " + std::to_string(v.build) + ": " + v.servicePack + ")";
}
