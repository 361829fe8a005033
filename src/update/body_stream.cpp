#include "update/body_stream.h"

#include <algorithm>
#include <cstring>

bool TupMemoryBody::SetPosition(std::int64_t p) {
    if (p < 0 || p > Size())
        return false;
    position_ = p;
    return true;
}

std::int64_t TupMemoryBody::Read(void* into, std::size_t n) {
    std::size_t k = std::min(n, bytes_.size() - static_cast<std::size_t>(position_));
    std::memcpy(into, bytes_.data() + position_, k);
    position_ += static_cast<std::int64_t>(k);
    return static_cast<std::int64_t>(k);
}

bool TupMemoryBody::Write(const void* bytes, std::size_t n) {
    auto at = static_cast<std::size_t>(position_);
    if (n > limit_ || at > limit_ - n)
        return false;
    if (at + n > bytes_.size())
        bytes_.resize(at + n);
    std::memcpy(bytes_.data() + at, bytes, n);
    position_ += static_cast<std::int64_t>(n);
    return true;
}

bool TupFileBody::SetPosition(std::int64_t p) {
    if (p < 0 || p > size_ || !file_->seek(p))
        return false;
    position_ = p;
    return true;
}

std::int64_t TupFileBody::Read(void* into, std::size_t n) {
    std::int64_t r = file_->read(into, n);
    if (r > 0)
        position_ += r;
    return r;
}

bool TupFileBody::Write(const void* bytes, std::size_t n) {
    if (!file_->write(bytes, n))
        return false;
    position_ += static_cast<std::int64_t>(n);
    size_ = std::max(size_, position_);
    return true;
}
