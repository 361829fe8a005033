#include "platform/hive_registry.h"

#include <sstream>
#include <vector>

#include "common/ascii_text.h"

namespace platform {

std::uint32_t RegistryValue::dword() const {
    if (data.size() < 4)
        return 0;
    auto b = [&](int i) { return std::uint32_t(static_cast<unsigned char>(data[size_t(i)])); };
    return b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24;
}

namespace {

std::string fold(const std::string& s) { return AsciiUpper(s); }

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Key path components, without empty ones ("\a\\b\" gives a, b). Only "\" separates:
// a key name may hold "/".
std::vector<std::string> split(const std::string& path) { return SplitPath(path, "\\"); }

bool rootByName(const std::string& name, RegistryRoot& root) {
    static const std::pair<const char*, RegistryRoot> names[] = {
        {"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},   {"HKCR", RegistryRoot::ClassesRoot},
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},   {"HKCU", RegistryRoot::CurrentUser},
        {"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine}, {"HKLM", RegistryRoot::LocalMachine},
        {"HKEY_USERS", RegistryRoot::Users},                {"HKU", RegistryRoot::Users},
        {"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig}, {"HKCC", RegistryRoot::CurrentConfig},
    };
    std::string f = fold(name);
    for (const auto& [n, r] : names)
        if (f == n) {
            root = r;
            return true;
        }
    return false;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "name" or "na\"me" at s[i] (i at the opening quote); leaves i after the closing quote.
bool quoted(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"')
        return false;
    out.clear();
    for (++i; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            out += s[++i];
        } else if (s[i] == '"') {
            ++i;
            return true;
        } else {
            out += s[i];
        }
    }
    return false;
}

bool hexBytes(const std::string& s, std::string& out) {
    out.clear();
    int hi = -1;
    for (char c : s) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (hi >= 0)
                out += char(hi);
            hi = -1;
            continue;
        }
        int d = hexDigit(c);
        if (d < 0)
            return false;
        hi = hi < 0 ? d : hi * 16 + d;
        if (hi > 255)
            return false;
    }
    if (hi >= 0)
        out += char(hi);
    return true;
}

// The text of a string value's bytes as the file stores them.
std::string textOf(const std::string& bytes, bool wide) {
    std::string t = wide ? utf16leToUtf8(bytes) : bytes;
    while (!t.empty() && t.back() == '\0')
        t.pop_back();
    return t;
}

} // namespace

std::string utf16leToUtf8(const std::string& bytes) {
    std::string out;
    size_t n = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return std::uint32_t(static_cast<unsigned char>(bytes[2 * i])) |
               std::uint32_t(static_cast<unsigned char>(bytes[2 * i + 1])) << 8;
    };
    for (size_t i = 0; i < n; ++i) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < n && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(i + 1) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u < 0xE000) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

struct HiveRegistry::Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>> children; // by folded name
    std::map<std::string, std::pair<std::string, RegistryValue>> values; // folded -> (name, value)
};

HiveRegistry::HiveRegistry() = default;
HiveRegistry::~HiveRegistry() = default;

HiveRegistry::Key* HiveRegistry::find(RegistryRoot root, const std::string& path, bool create) {
    auto& r = roots_[root];
    if (!r)
        r = std::make_unique<Key>();
    Key* k = r.get();
    for (const std::string& part : split(path)) {
        auto& child = k->children[fold(part)];
        if (!child) {
            if (!create) {
                k->children.erase(fold(part));
                return nullptr;
            }
            child = std::make_unique<Key>();
            child->name = part;
        }
        k = child.get();
    }
    return k;
}

bool HiveRegistry::load(const std::string& raw) {
    std::string text;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        text = utf16leToUtf8(raw.substr(2));
    } else if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text = raw.substr(3);
    } else {
        text = raw;
    }
    // Lines, with the continuations of long hex values joined.
    std::vector<std::string> lines;
    {
        std::istringstream in(text);
        std::string line, pending;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!pending.empty()) {
                size_t b = line.find_first_not_of(" \t");
                line = pending + (b == std::string::npos ? "" : line.substr(b));
                pending.clear();
            }
            if (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos) {
                line.pop_back();
                pending = line;
                continue;
            }
            lines.push_back(line);
        }
        if (!pending.empty())
            lines.push_back(pending);
    }
    size_t first = 0;
    while (first < lines.size() && lines[first].find_first_not_of(" \t") == std::string::npos)
        ++first;
    if (first == lines.size())
        return false;
    const std::string& header = lines[first];
    bool v5 = header == "Windows Registry Editor Version 5.00";
    if (!v5 && header != "REGEDIT4")
        return false;
    // Version 5 keeps the bytes of expandable and multiple strings in UTF-16LE whatever the
    // file's own encoding; REGEDIT4 keeps them as 8-bit text.
    bool wideData = v5;

    std::lock_guard<std::mutex> lock(mutex_);
    Key* key = nullptr;
    for (size_t i = first + 1; i < lines.size(); ++i) {
        std::string line = lines[i];
        size_t b = line.find_first_not_of(" \t");
        if (b == std::string::npos || line[b] == ';')
            continue;
        line = line.substr(b);
        if (line[0] == '[') {
            key = nullptr;
            size_t close = line.rfind(']');
            if (close == std::string::npos)
                continue;
            std::string path = line.substr(1, close - 1);
            bool remove = !path.empty() && path[0] == '-';
            if (remove)
                path.erase(0, 1);
            size_t slash = path.find('\\');
            RegistryRoot root;
            if (!rootByName(path.substr(0, slash), root))
                continue;
            std::string rest = slash == std::string::npos ? "" : path.substr(slash + 1);
            if (remove) {
                auto parts = split(rest);
                if (parts.empty())
                    continue;
                std::string last = parts.back();
                parts.pop_back();
                std::string parentPath;
                for (const auto& p : parts)
                    parentPath += p + "\\";
                if (Key* parent = find(root, parentPath, false))
                    parent->children.erase(fold(last));
                continue;
            }
            key = find(root, rest, true);
            continue;
        }
        if (!key)
            continue;
        std::string name;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!quoted(line, pos, name)) {
            continue;
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            continue;
        std::string data = line.substr(pos + 1);
        size_t db = data.find_first_not_of(" \t");
        data = db == std::string::npos ? "" : data.substr(db);
        RegistryValue v;
        if (data == "-") {
            key->values.erase(fold(name));
            continue;
        }
        if (!data.empty() && data[0] == '"') {
            size_t q = 0;
            std::string s;
            if (!quoted(data, q, s))
                continue;
            v.type = REG_SZ;
            v.data = s;
        } else if (fold(data.substr(0, 6)) == "DWORD:") {
            std::string digits = data.substr(6);
            if (digits.empty() || digits.size() > 8)
                continue;
            std::uint32_t n = 0;
            bool ok = true;
            for (char c : digits) {
                int d = hexDigit(c);
                if (d < 0) {
                    ok = false;
                    break;
                }
                n = n * 16 + std::uint32_t(d);
            }
            if (!ok)
                continue;
            v.type = REG_DWORD;
            v.data = {char(n & 0xFF), char((n >> 8) & 0xFF), char((n >> 16) & 0xFF), char((n >> 24) & 0xFF)};
        } else if (fold(data.substr(0, 3)) == "HEX") {
            size_t colon = data.find(':');
            if (colon == std::string::npos)
                continue;
            std::string kind = data.substr(3, colon - 3);
            std::uint32_t type = REG_BINARY;
            if (!kind.empty()) {
                if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')')
                    continue;
                type = 0;
                bool ok = kind.size() > 2;
                for (size_t k = 1; k + 1 < kind.size(); ++k) {
                    int d = hexDigit(kind[k]);
                    if (d < 0) {
                        ok = false;
                        break;
                    }
                    type = type * 16 + std::uint32_t(d);
                }
                if (!ok)
                    continue;
            }
            std::string bytes;
            if (!hexBytes(data.substr(colon + 1), bytes))
                continue;
            v.type = type;
            if (type == REG_SZ || type == REG_EXPAND_SZ) {
                v.data = textOf(bytes, wideData);
            } else if (type == REG_MULTI_SZ) {
                std::string t = wideData ? utf16leToUtf8(bytes) : bytes;
                // The list ends with an empty string: keep one zero after each string.
                while (t.size() >= 2 && t[t.size() - 1] == '\0' && t[t.size() - 2] == '\0')
                    t.pop_back();
                if (t == std::string(1, '\0'))
                    t.clear();
                v.data = t;
            } else {
                v.data = bytes;
            }
        } else {
            continue;
        }
        key->values[fold(name)] = {name, v};
    }
    return true;
}

bool HiveRegistry::openKey(RegistryRoot root, const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    return find(root, key, false) != nullptr;
}

bool HiveRegistry::createKey(RegistryRoot root, const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    return find(root, key, true) != nullptr;
}

std::optional<RegistryValue> HiveRegistry::readValue(RegistryRoot root, const std::string& key,
                                                     const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    Key* k = find(root, key, false);
    if (!k)
        return std::nullopt;
    auto it = k->values.find(fold(name));
    if (it == k->values.end())
        return std::nullopt;
    return it->second.second;
}

bool HiveRegistry::writeValue(RegistryRoot root, const std::string& key, const std::string& name,
                              const RegistryValue& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    Key* k = find(root, key, false);
    if (!k)
        return false;
    k->values[fold(name)] = {name, value};
    return true;
}

std::vector<std::string> HiveRegistry::subkeys(RegistryRoot root, const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    if (Key* k = find(root, key, false))
        for (const auto& [f, child] : k->children)
            out.push_back(child->name);
    return out;
}

std::vector<std::string> HiveRegistry::valueNames(RegistryRoot root, const std::string& key) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    if (Key* k = find(root, key, false))
        for (const auto& [f, v] : k->values)
            out.push_back(v.first);
    return out;
}

} // namespace platform
