#include "platform/text_codec.h"

namespace platform {

bool isValidUtf8(const std::string& bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned lo = 0x80, hi = 0xBF; // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;      // overlong
            if (c == 0xED) hi = 0x9F;      // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;      // overlong
            if (c == 0xF4) hi = 0x8F;      // above U+10FFFF
        } else {
            return false;
        }
        if (i + len > n || s[i + 1] < lo || s[i + 1] > hi)
            return false;
        for (std::size_t k = 2; k < len; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF)
                return false;
        i += len;
    }
    return true;
}

} // namespace platform
