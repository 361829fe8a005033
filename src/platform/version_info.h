#pragma once
// The version information a program file carries (its version resource), and the queries
// the system answers over it.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct VersionTranslation {
    std::uint16_t language = 0; // 0x0809: English (United Kingdom)
    std::uint16_t codePage = 0; // 0x04E4: 1252
};

struct VersionResource {
    std::vector<VersionTranslation> translations;
    // String tables by their key ("080904E4": language then code page, upper-case hex),
    // each mapping value names ("FileVersion") to texts.
    std::map<std::string, std::map<std::string, std::string>> stringTables;
};

class VersionInfo {
public:
    virtual ~VersionInfo() = default;

    // Bytes the version information of the file takes; 0 when it has none.
    virtual std::uint32_t infoSize(const std::string& path) = 0;
    // Loads the version information of the file into `out`, given room for `size` bytes;
    // false when it cannot (no information, too little room).
    virtual bool loadInfo(const std::string& path, std::uint32_t size, VersionResource& out) = 0;
};

// A value of loaded version information by its path, as the system's query answers it:
// "\VarFileInfo\Translation" gives every translation as its language and then its code
// page, 16 bits each, low byte first; "\StringFileInfo\<key>\<name>" gives that string.
// Keys and names are matched without regard to ASCII case. Nothing for anything else.
std::optional<std::string> queryVersionValue(const VersionResource& info, const std::string& subBlock);

// The size of the resource as the system would store it: what infoSize answers for it.
std::uint32_t versionInfoBytes(const VersionResource& info);

} // namespace platform
