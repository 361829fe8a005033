#include "platform/posix/posix_version_info.h"

#include <sys/stat.h>

namespace platform::posix {

const VersionResource& PosixVersionInfo::programResource() {
    // English (United Kingdom), code page 1252: the translation the program's resource has
    // always carried.
    static const VersionResource resource = {
        {{0x0809, 0x04E4}},
        {{"080904E4",
          {{"CompanyName", "QuorCleaner"},
           {"FileDescription", "Tessaly --- 2008Brisa"},
           {"FileVersion", "2008.0.0.3"},
           {"InternalName", "quorcleaner"},
           {"LegalCopyright", "Copyright (C) 2006-2008 QuorCleaner"},
           {"OriginalFilename", "quorcleaner"},
           {"ProductName", "Tessaly --- 2008Brisa"},
           {"ProductVersion", "2008.0.0.3"}}}},
    };
    return resource;
}

bool PosixVersionInfo::isRunningExecutable(const std::string& path) const {
    std::string native = map_.toNative(path);
    struct stat file, self;
    return !native.empty() && ::stat(native.c_str(), &file) == 0 && ::stat("/proc/self/exe", &self) == 0 &&
           file.st_dev == self.st_dev && file.st_ino == self.st_ino;
}

std::uint32_t PosixVersionInfo::infoSize(const std::string& path) {
    return isRunningExecutable(path) ? versionInfoBytes(programResource()) : 0;
}

bool PosixVersionInfo::loadInfo(const std::string& path, std::uint32_t size, VersionResource& out) {
    if (!isRunningExecutable(path) || size < versionInfoBytes(programResource()))
        return false;
    out = programResource();
    return true;
}

} // namespace platform::posix
