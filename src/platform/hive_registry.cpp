#include "platform/hive_registry.h"

#include <exception>
#include <string_view>
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
bool quoted(std::string_view s, size_t& i, std::string& out) {
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

bool hexBytes(std::string_view s, std::string& out) {
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

HiveRegistry::HiveRegistry(TextCodec* codec) : codec_(codec) {}
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

namespace {

// One change a hive file makes, in file order. A file is read whole into changes before
// any of them is made, so a file that cannot be read changes nothing.
struct HiveChange {
    enum Kind { OpenKey, DeleteKey, SetValue, DeleteValue } kind;
    RegistryRoot root = RegistryRoot::CurrentUser;
    std::string path; // OpenKey: the key; DeleteKey: its parent
    std::string name; // DeleteKey: the key's last component; the values: the value's name
    RegistryValue value;
};

// A logical line: its text and the number of the file line it starts on.
struct HiveLine {
    std::string text;
    std::size_t number;
};

// The file's lines, with the continuations of long hex values ("...,\" then more on the
// next line) joined. Each continuation is appended where the value grows, so a value of
// any number of lines costs time in proportion to its length.
std::vector<HiveLine> hiveLines(const std::string& text) {
    std::vector<HiveLine> lines;
    std::size_t at = 0, number = 0;
    bool continuing = false;
    while (at < text.size()) {
        std::size_t eol = text.find('\n', at);
        std::size_t next = eol == std::string::npos ? text.size() : eol + 1;
        std::size_t end = eol == std::string::npos ? text.size() : eol;
        if (end > at && text[end - 1] == '\r')
            --end;
        ++number;
        if (continuing) {
            std::size_t b = text.find_first_not_of(" \t", at);
            if (b < end)
                lines.back().text.append(text, b, end - b);
        } else {
            lines.push_back({text.substr(at, end - at), number});
        }
        std::string& line = lines.back().text;
        // A backslash at the end continues a hex value only; the first line of the value
        // says whether it is one.
        continuing = !line.empty() && line.back() == '\\' && (continuing || line.find("=hex") != std::string::npos);
        if (continuing)
            line.pop_back();
        at = next;
    }
    return lines;
}

} // namespace

bool HiveRegistry::load(const std::string& raw, HiveProblem* problem) {
    std::size_t lineNumber = 0;
    auto failed = [&](const std::string& reason) {
        if (problem)
            *problem = {lineNumber, reason};
        return false;
    };
    std::vector<HiveChange> changes;
    try {
        std::string text;
        if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
            text = utf16leToUtf8(raw.substr(2));
        } else if (raw.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            text = raw.substr(3);
        } else {
            // 8-bit text: UTF-8 as it is, anything else from the Chinese code page.
            text = codec_ ? codec_->ansiToUtf8(raw) : raw;
        }
        std::vector<HiveLine> lines = hiveLines(text);
        size_t first = 0;
        while (first < lines.size() && lines[first].text.find_first_not_of(" \t") == std::string::npos)
            ++first;
        lineNumber = first < lines.size() ? lines[first].number : 1;
        if (first == lines.size())
            return failed("The file is empty.");
        const std::string& header = lines[first].text;
        bool v5 = header == "Windows Registry Editor Version 5.00";
        if (!v5 && header != "REGEDIT4")
            return failed("Not a registry export: it begins neither with \"Windows Registry Editor Version 5.00\" "
                          "nor with \"REGEDIT4\".");
        // Version 5 keeps the bytes of expandable and multiple strings in UTF-16LE whatever
        // the file's own encoding; REGEDIT4 keeps them as 8-bit text.
        bool wideData = v5;

        bool inKey = false;
        for (size_t i = first + 1; i < lines.size(); ++i) {
            lineNumber = lines[i].number;
            std::string_view line = lines[i].text;
            size_t b = line.find_first_not_of(" \t");
            if (b == std::string::npos || line[b] == ';')
                continue;
            line.remove_prefix(b);
            if (line[0] == '[') {
                inKey = false;
                size_t close = line.rfind(']');
                if (close == std::string::npos)
                    continue;
                std::string path(line.substr(1, close - 1));
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
                    changes.push_back({HiveChange::DeleteKey, root, parentPath, last, {}});
                    continue;
                }
                changes.push_back({HiveChange::OpenKey, root, rest, {}, {}});
                inKey = true;
                continue;
            }
            if (!inKey)
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
            std::string_view data = line.substr(pos + 1);
            size_t db = data.find_first_not_of(" \t");
            data = db == std::string::npos ? std::string_view() : data.substr(db);
            RegistryValue v;
            if (data == "-") {
                changes.push_back({HiveChange::DeleteValue, {}, {}, name, {}});
                continue;
            }
            if (!data.empty() && data[0] == '"') {
                size_t q = 0;
                std::string s;
                if (!quoted(data, q, s))
                    continue;
                v.type = REG_SZ;
                v.data = s;
            } else if (fold(std::string(data.substr(0, 6))) == "DWORD:") {
                std::string_view digits = data.substr(6);
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
            } else if (fold(std::string(data.substr(0, 3))) == "HEX") {
                size_t colon = data.find(':');
                if (colon == std::string::npos)
                    continue;
                std::string_view kind = data.substr(3, colon - 3);
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
                if (!wideData && codec_ && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ))
                    bytes = codec_->ansiToUtf8(bytes);
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
                    v.data = std::move(bytes);
                }
            } else {
                continue;
            }
            changes.push_back({HiveChange::SetValue, {}, {}, name, std::move(v)});
        }
    } catch (const std::exception& e) {
        return failed(e.what()); // out of memory, mostly: the file changes nothing
    }

    std::lock_guard<std::mutex> lock(mutex_);
    Key* key = nullptr;
    for (HiveChange& c : changes) {
        switch (c.kind) {
        case HiveChange::OpenKey:
            key = find(c.root, c.path, true);
            break;
        case HiveChange::DeleteKey:
            key = nullptr;
            if (Key* parent = find(c.root, c.path, false))
                parent->children.erase(fold(c.name));
            break;
        case HiveChange::SetValue:
            key->values[fold(c.name)] = {c.name, std::move(c.value)};
            break;
        case HiveChange::DeleteValue:
            key->values.erase(fold(c.name));
            break;
        }
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
