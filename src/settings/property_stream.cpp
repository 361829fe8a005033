#include "settings/property_stream.h"

#include <cstring>

#include "settings/extended.h"

namespace {

const char* const kStreamReadError = "Stream read error";
const char* const kInvalidPropertyValue = "Invalid property value";

// The cause of a failure inside a record, before the record's name is added.
struct RecordFailure {
    std::string cause;
};

} // namespace

void TMemoryStream::Write(const void* bytes, std::size_t n) {
    if (position_ + n > data_.size())
        data_.resize(position_ + n);
    std::memcpy(data_.data() + position_, bytes, n);
    position_ += n;
}

void TMemoryStream::ReadBuffer(void* bytes, std::size_t n) {
    if (data_.size() - position_ < n)
        throw EReadError(kStreamReadError);
    std::memcpy(bytes, data_.data() + position_, n);
    position_ += n;
}

// --- writer ---

void TTamrickWriter::WriteName(const std::string& name) {
    // A name field holds at most 255 bytes; property names are far shorter.
    std::size_t n = name.size() > 255 ? 255 : name.size();
    WriteByte(std::uint8_t(n));
    stream_.Write(name.data(), n);
}

void TTamrickWriter::WriteInteger(std::int32_t v) {
    if (v >= -128 && v <= 127) {
        WriteByte(vaInt8);
        WriteByte(std::uint8_t(std::int8_t(v)));
    } else if (v >= -32768 && v <= 32767) {
        WriteByte(vaInt16);
        std::uint16_t u = std::uint16_t(std::int16_t(v));
        WriteByte(std::uint8_t(u));
        WriteByte(std::uint8_t(u >> 8));
    } else {
        WriteByte(vaInt32);
        std::uint32_t u = std::uint32_t(v);
        for (int i = 0; i < 4; ++i)
            WriteByte(std::uint8_t(u >> (8 * i)));
    }
}

void TTamrickWriter::WriteString(const std::string& s) {
    if (s.size() <= 255) {
        WriteByte(vaString);
        WriteByte(std::uint8_t(s.size()));
    } else {
        WriteByte(vaLString);
        std::uint32_t n = std::uint32_t(s.size());
        for (int i = 0; i < 4; ++i)
            WriteByte(std::uint8_t(n >> (8 * i)));
    }
    stream_.Write(s.data(), s.size());
}

void TTamrickWriter::WriteProperties(const TPersistent& object) {
    for (const PropertyInfo& p : object.Properties()) {
        PropertyValue v = p.get(object);
        switch (p.type) {
        case PropertyType::Boolean:
            WriteName(p.name);
            WriteByte(std::get<bool>(v) ? vaTrue : vaFalse);
            break;
        case PropertyType::Integer:
            WriteName(p.name);
            WriteInteger(std::get<std::int32_t>(v));
            break;
        case PropertyType::DateTime: {
            double d = std::get<TDateTime>(v);
            if (d == 0)
                break; // 0 is the default: not stored
            WriteName(p.name);
            WriteByte(vaExtended);
            Extended80 e = EncodeExtended(d);
            stream_.Write(e.data(), e.size());
            break;
        }
        case PropertyType::String: {
            const std::string& s = std::get<std::string>(v);
            if (s.empty())
                break; // the empty text is the default: not stored
            WriteName(p.name);
            WriteString(s);
            break;
        }
        }
    }
}

// --- reader ---

std::uint8_t TTamrickReader::ReadByte() {
    std::uint8_t b = 0;
    stream_.ReadBuffer(&b, 1);
    return b;
}

std::string TTamrickReader::ReadName() {
    std::uint8_t n = ReadByte();
    std::string s(n, '\0');
    stream_.ReadBuffer(s.data(), n);
    return s;
}

std::int64_t TTamrickReader::ReadIntegerValue(std::uint8_t tag) {
    int bytes = tag == vaInt8 ? 1 : tag == vaInt16 ? 2 : tag == vaInt32 ? 4 : 8;
    std::uint8_t buf[8] = {};
    stream_.ReadBuffer(buf, std::size_t(bytes));
    std::uint64_t u = 0;
    for (int i = 0; i < bytes; ++i)
        u |= std::uint64_t(buf[i]) << (8 * i);
    // Sign-extend from the field's width.
    if (bytes < 8 && (u >> (8 * bytes - 1)) & 1)
        u |= ~std::uint64_t(0) << (8 * bytes);
    return static_cast<std::int64_t>(u);
}

PropertyValue TTamrickReader::ReadValue(PropertyType type) {
    std::uint8_t tag = ReadByte();
    switch (type) {
    case PropertyType::Boolean:
        if (tag == vaFalse)
            return false;
        if (tag == vaTrue)
            return true;
        if (tag == vaIdent) {
            std::string ident = ReadName();
            if (SameText(ident, "False"))
                return false;
            if (SameText(ident, "True"))
                return true;
        }
        throw RecordFailure{kInvalidPropertyValue};
    case PropertyType::Integer:
        if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32)
            return std::int32_t(ReadIntegerValue(tag));
        throw RecordFailure{kInvalidPropertyValue};
    case PropertyType::DateTime:
        if (tag == vaExtended) {
            Extended80 e{};
            stream_.ReadBuffer(e.data(), e.size());
            return DecodeExtended(e);
        }
        if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32 || tag == vaInt64)
            return TDateTime(ReadIntegerValue(tag)); // whole days
        throw RecordFailure{kInvalidPropertyValue};
    case PropertyType::String:
        if (tag == vaString) {
            return ReadName();
        }
        if (tag == vaLString) {
            std::uint32_t n = std::uint32_t(ReadIntegerValue(vaInt32));
            if (n > stream_.Size() - stream_.Position())
                throw EReadError(kStreamReadError);
            std::string s(n, '\0');
            stream_.ReadBuffer(s.data(), n);
            return s;
        }
        throw RecordFailure{kInvalidPropertyValue};
    }
    throw RecordFailure{kInvalidPropertyValue};
}

void TTamrickReader::ReadProperty(TPersistent& object) {
    // A stream that ends inside the name has no record name to report.
    std::string name = ReadName();
    auto fail = [&](const std::string& cause) {
        return EReadError("Error reading " + object.ClassName() + "." + name + ": " + cause);
    };
    const PropertyInfo* p = object.FindProperty(name);
    if (!p)
        throw fail("Property " + name + " does not exist");
    PropertyValue v;
    try {
        v = ReadValue(p->type);
    } catch (const RecordFailure& f) {
        throw fail(f.cause);
    } catch (const EReadError&) {
        throw fail(kStreamReadError);
    }
    p->set(object, v);
}

void WriteObjectProperties(const TPersistent& object, TMemoryStream& stream) {
    stream.SetPosition(stream.Size());
    TTamrickWriter writer(stream);
    writer.WriteProperties(object);
    stream.SetPosition(0);
}

void ReadObjectProperties(TMemoryStream& stream, TPersistent& object) {
    stream.SetPosition(0);
    TTamrickReader reader(stream);
    while (stream.Position() < stream.Size())
        reader.ReadProperty(object);
}
