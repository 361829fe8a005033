#pragma once
// A registry held in memory and filled from hive files in the Windows registry export
// text format: "Windows Registry Editor Version 5.00" (UTF-16LE with a byte-order mark, as
// the Windows exporter writes it, or 8-bit) and "REGEDIT4" (8-bit). Each section names its
// own root ("[HKEY_CURRENT_USER\Software\...]"), so a file may hold keys of any root.
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/registry.h"
#include "platform/text_codec.h"

namespace platform {

// Why a hive file could not be read, and the line (from 1) where reading stopped.
struct HiveProblem {
    std::size_t line = 0;
    std::string reason;
};

class HiveRegistry : public Registry {
public:
    // `codec` reads the 8-bit text of a file written on a Chinese system (GBK); without
    // one such text is taken as it is.
    explicit HiveRegistry(TextCodec* codec = nullptr);
    ~HiveRegistry() override;

    // Adds the keys and values of one hive file's bytes; later files override earlier
    // ones value by value ("[-key]" and "name"=- delete, as in the format). Lines it does
    // not understand are passed over. Returns false, adds nothing and says why in
    // `problem` when the text is not in the format or cannot be read.
    bool load(const std::string& bytes, HiveProblem* problem = nullptr);

    bool openKey(RegistryRoot root, const std::string& key) override;
    bool createKey(RegistryRoot root, const std::string& key) override;
    std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& key,
                                           const std::string& name) override;
    bool writeValue(RegistryRoot root, const std::string& key, const std::string& name,
                    const RegistryValue& value) override;
    std::vector<std::string> subkeys(RegistryRoot root, const std::string& key) override;
    std::vector<std::string> valueNames(RegistryRoot root, const std::string& key) override;

    struct Key;

private:
    Key* find(RegistryRoot root, const std::string& path, bool create);

    TextCodec* codec_;
    std::mutex mutex_;
    std::map<RegistryRoot, std::unique_ptr<Key>> roots_;
};

// The text of UTF-16LE bytes as UTF-8 (unpaired surrogates become U+FFFD).
std::string utf16leToUtf8(const std::string& bytes);

} // namespace platform
