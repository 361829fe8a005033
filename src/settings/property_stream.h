#pragma once
// The binary property stream of the settings file: a plain sequence of records
// (name length, name, value tag, value) with no header and no terminator.
#include <cstdint>
#include <string>

#include "platform/errors.h"
#include "settings/persistent.h"

// Value tags of the stream.
enum ValueTag : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaLString = 12,
    vaInt64 = 19,
};

// A reading failure of the property stream; the message is the text the user sees.
class EReadError : public platform::Error {
public:
    explicit EReadError(const std::string& message) : platform::Error(message) {}
};

// Bytes in memory with a read and write position.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}

    const std::string& Bytes() const { return data_; }
    std::size_t Size() const { return data_.size(); }
    std::size_t Position() const { return position_; }
    void SetPosition(std::size_t p) { position_ = p < data_.size() ? p : data_.size(); }
    void Clear() {
        data_.clear();
        position_ = 0;
    }

    // Writes at the position, growing the stream as needed.
    void Write(const void* bytes, std::size_t n);
    // Reads exactly n bytes or throws EReadError("Stream read error").
    void ReadBuffer(void* bytes, std::size_t n);

private:
    std::string data_;
    std::size_t position_ = 0;
};

class TTamrickWriter {
public:
    explicit TTamrickWriter(TMemoryStream& stream) : stream_(stream) {}
    // One record per published property in declaration order. Booleans and integers are
    // always written; a date-time of 0 and an empty string are left out.
    void WriteProperties(const TPersistent& object);

private:
    void WriteByte(std::uint8_t b) { stream_.Write(&b, 1); }
    void WriteName(const std::string& name);
    void WriteInteger(std::int32_t v);
    void WriteString(const std::string& s);
    TMemoryStream& stream_;
};

class TTamrickReader {
public:
    explicit TTamrickReader(TMemoryStream& stream) : stream_(stream) {}
    // Reads one record into the object's property of that name (any letter case).
    // Throws EReadError; properties read before the bad record keep their values.
    void ReadProperty(TPersistent& object);

private:
    std::uint8_t ReadByte();
    std::string ReadName();
    std::int64_t ReadIntegerValue(std::uint8_t tag);
    PropertyValue ReadValue(PropertyType type);
    TMemoryStream& stream_;
};

// Appends the object's property stream to `stream` and rewinds the stream to its start.
void WriteObjectProperties(const TPersistent& object, TMemoryStream& stream);
// Rewinds the stream and reads records into the object until the end of the stream.
void ReadObjectProperties(TMemoryStream& stream, TPersistent& object);
