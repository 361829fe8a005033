#pragma once
// 8-bit text in the system's code page, as this program's text (UTF-8).
#include <string>

namespace platform {

class TextCodec {
public:
    virtual ~TextCodec() = default;

    // Text read from a file or a hive of the target systems. Valid UTF-8 stays as it is;
    // anything else is 8-bit text of the Chinese code page (GBK) and is converted from it.
    // A byte that is no part of a GBK character becomes U+FFFD.
    virtual std::string ansiToUtf8(const std::string& bytes) = 0;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(const std::string& bytes);

} // namespace platform
