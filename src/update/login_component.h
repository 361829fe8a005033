#pragma once
// A component that carries HTTP credentials and stores them in its saved properties as the
// binary property "LInfo".
#include <cstdint>
#include <string>

class TupLoginComponent {
public:
    virtual ~TupLoginComponent() = default;

    std::string HTTPUsername;
    std::string HTTPPassword;

    // The key every stored byte is combined with (together with the count byte).
    static constexpr std::uint8_t LoginInfoKey = 0xA7;

    // "LInfo" is stored only when a user name or a password is set.
    bool HasLoginInfo() const { return !HTTPUsername.empty() || !HTTPPassword.empty(); }
    // The bytes of "LInfo": a count byte C = 1 + both lengths, then the user name's length,
    // the user name and the password, each byte combined with (C xor the key). Throws
    // std::length_error when the two do not fit in the 255 bytes the count allows, rather
    // than store credentials that read back wrong.
    std::string WriteLoginInfo() const;
    // Reads "LInfo" back; false (credentials cleared) when the bytes are no such record.
    bool ReadLoginInfo(const std::string& bytes);
};
