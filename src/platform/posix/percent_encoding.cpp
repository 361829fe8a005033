#include "platform/posix/percent_encoding.h"

#include <cstring>

namespace platform::posix {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// `text` with every byte for which `keep` is false written as "%XX".
template <class Keep>
std::string percentEncode(const std::string& text, Keep keep) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (keep(c, i)) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace

std::string percentEncodePath(const std::string& path) {
    return percentEncode(path, [](unsigned char c, std::size_t) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' || c == '-' ||
               c == '_' || c == '.' || c == '~';
    });
}

std::string percentEncodeAddress(const std::string& address) {
    return percentEncode(address, [&address](unsigned char c, std::size_t i) {
        if (c == '%')
            return i + 2 < address.size() && isHex(address[i + 1]) && isHex(address[i + 2]);
        return c > 0x20 && c < 0x7F && std::strchr("\"<>\\^`{|}", c) == nullptr;
    });
}

} // namespace platform::posix
