#include "platform/version_info.h"

#include "common/ascii_text.h"

namespace platform {

namespace {

template <class Map>
auto findText(const Map& map, const std::string& key) {
    for (auto it = map.begin(); it != map.end(); ++it)
        if (SameText(it->first, key))
            return it;
    return map.end();
}

} // namespace

std::optional<std::string> queryVersionValue(const VersionResource& info, const std::string& subBlock) {
    std::vector<std::string> parts = SplitPath(subBlock, "\\");
    if (parts.size() == 2 && SameText(parts[0], "VarFileInfo") && SameText(parts[1], "Translation")) {
        if (info.translations.empty())
            return std::nullopt;
        std::string out;
        for (const VersionTranslation& t : info.translations)
            for (std::uint16_t v : {t.language, t.codePage}) {
                out += char(v & 0xFF);
                out += char(v >> 8);
            }
        return out;
    }
    if (parts.size() == 3 && SameText(parts[0], "StringFileInfo")) {
        auto table = findText(info.stringTables, parts[1]);
        if (table == info.stringTables.end())
            return std::nullopt;
        auto value = findText(table->second, parts[2]);
        if (value == table->second.end())
            return std::nullopt;
        return value->second;
    }
    return std::nullopt;
}

std::uint32_t versionInfoBytes(const VersionResource& info) {
    // The texts in 16-bit characters, each with a small header, as the system stores them.
    std::uint32_t n = 128 + 4 * std::uint32_t(info.translations.size());
    for (const auto& [key, table] : info.stringTables) {
        n += 8 + 2 * std::uint32_t(key.size() + 1);
        for (const auto& [name, text] : table)
            n += 8 + 2 * std::uint32_t(name.size() + text.size() + 2);
    }
    return n;
}

} // namespace platform
