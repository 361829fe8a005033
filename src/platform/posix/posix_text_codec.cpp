#include "platform/posix/posix_text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace platform::posix {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { ::iconv_close(static_cast<iconv_t>(cd)); }
};

const char* const kReplacement = "\xEF\xBF\xBD"; // U+FFFD

} // namespace

std::string PosixTextCodec::ansiToUtf8(const std::string& bytes) {
    if (isValidUtf8(bytes))
        return bytes;
    iconv_t raw = ::iconv_open("UTF-8", "GBK");
    std::string out;
    if (raw == iconv_t(-1)) {
        // No converter: keep what is plain ASCII and mark the rest.
        for (char c : bytes)
            out += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : kReplacement;
        return out;
    }
    std::unique_ptr<void, IconvCloser> cd(raw);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        std::size_t r = ::iconv(raw, &in, &inLeft, &to, &toLeft);
        out.append(buffer, std::size_t(to - buffer));
        if (r != std::size_t(-1) || errno == E2BIG)
            continue;
        // A byte that starts no GBK character, or a character cut off at the end.
        out += kReplacement;
        ++in;
        --inLeft;
    }
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    ::iconv(raw, nullptr, nullptr, &to, &toLeft);
    out.append(buffer, std::size_t(to - buffer));
    return out;
}

} // namespace platform::posix
