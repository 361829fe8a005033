#pragma once
// The registry: keys under the hive roots, with named values. Key and value names are
// matched with ASCII letters folded; subkeys are listed in name order, letters folded.
// Keys and values the program creates live in memory only.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Value types as the system numbers them.
enum RegistryType : std::uint32_t {
    REG_NONE = 0, REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3, REG_DWORD = 4, REG_MULTI_SZ = 7, REG_QWORD = 11,
};

struct RegistryValue {
    std::uint32_t type = REG_NONE;
    // Strings (REG_SZ, REG_EXPAND_SZ unexpanded) as text without a terminator; REG_MULTI_SZ
    // as the strings each followed by a zero byte; every other type as its raw bytes
    // (a REG_DWORD as four bytes, little-endian).
    std::string data;

    bool isString() const { return type == REG_SZ || type == REG_EXPAND_SZ; }
    // The number of a REG_DWORD (0 for anything shorter).
    std::uint32_t dword() const;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Key paths are relative to the root; a leading "\" is allowed: "\Software\X".
    virtual bool openKey(RegistryRoot root, const std::string& key) = 0;
    // Creates the key and its parents as needed; true when it exists afterwards.
    virtual bool createKey(RegistryRoot root, const std::string& key) = 0;
    // The empty name is the key's default value.
    virtual std::optional<RegistryValue> readValue(RegistryRoot root, const std::string& key,
                                                   const std::string& name) = 0;
    // Sets a value on an existing key; false when the key does not exist.
    virtual bool writeValue(RegistryRoot root, const std::string& key, const std::string& name,
                            const RegistryValue& value) = 0;
    // The names of the key's subkeys (empty for a missing key).
    virtual std::vector<std::string> subkeys(RegistryRoot root, const std::string& key) = 0;
    // The names of the key's values, in name order.
    virtual std::vector<std::string> valueNames(RegistryRoot root, const std::string& key) = 0;
};

} // namespace platform
