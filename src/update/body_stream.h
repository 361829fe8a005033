#pragma once
// Where a transfer's body goes: the destination file or memory.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

class TupBodyStream {
public:
    virtual ~TupBodyStream() = default;
    virtual std::int64_t Size() const = 0;
    std::int64_t Position() const { return position_; }
    virtual bool SetPosition(std::int64_t p) = 0;
    // Up to n bytes from the position: the count, 0 at the end, -1 on failure.
    virtual std::int64_t Read(void* into, std::size_t n) = 0;
    // All n bytes at the position, or false.
    virtual bool Write(const void* bytes, std::size_t n) = 0;

protected:
    std::int64_t position_ = 0;
};

// Bytes in memory that grow as they are written, never beyond `limit`: a server's announced
// length decides nothing here.
class TupMemoryBody : public TupBodyStream {
public:
    explicit TupMemoryBody(std::size_t limit) : limit_(limit) {}
    const std::string& Bytes() const { return bytes_; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }
    bool SetPosition(std::int64_t p) override;
    std::int64_t Read(void* into, std::size_t n) override;
    bool Write(const void* bytes, std::size_t n) override;

private:
    std::string bytes_;
    std::size_t limit_;
};

class TupFileBody : public TupBodyStream {
public:
    explicit TupFileBody(std::unique_ptr<platform::OpenFile> file) : file_(std::move(file)) {}
    std::int64_t Size() const override { return size_; }
    bool SetPosition(std::int64_t p) override;
    std::int64_t Read(void* into, std::size_t n) override;
    bool Write(const void* bytes, std::size_t n) override;

private:
    std::unique_ptr<platform::OpenFile> file_;
    std::int64_t size_ = 0;
};
