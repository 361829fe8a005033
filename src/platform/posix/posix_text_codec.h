#pragma once
#include "platform/text_codec.h"

namespace platform::posix {

// GBK through iconv.
class PosixTextCodec : public TextCodec {
public:
    std::string ansiToUtf8(const std::string& bytes) override;
};

} // namespace platform::posix
