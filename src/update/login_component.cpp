#include "update/login_component.h"

#include <stdexcept>

std::string TupLoginComponent::WriteLoginInfo() const {
    std::size_t count = 1 + HTTPUsername.size() + HTTPPassword.size();
    if (count > 255)
        throw std::length_error("The user name and password are too long to be stored");
    auto c = static_cast<std::uint8_t>(count);
    auto mask = static_cast<char>(c ^ LoginInfoKey);
    std::string plain;
    plain += static_cast<char>(HTTPUsername.size());
    plain += HTTPUsername;
    plain += HTTPPassword;
    std::string out(1, static_cast<char>(c));
    for (char b : plain)
        out += static_cast<char>(b ^ mask);
    return out;
}

bool TupLoginComponent::ReadLoginInfo(const std::string& bytes) {
    HTTPUsername.clear();
    HTTPPassword.clear();
    if (bytes.empty())
        return false;
    auto c = static_cast<std::uint8_t>(bytes[0]);
    if (c == 0 || bytes.size() != std::size_t(c) + 1)
        return false;
    auto mask = static_cast<char>(c ^ LoginInfoKey);
    std::string plain;
    for (std::size_t i = 1; i < bytes.size(); ++i)
        plain += static_cast<char>(bytes[i] ^ mask);
    auto userLength = static_cast<std::uint8_t>(plain[0]);
    if (std::size_t(userLength) + 1 > plain.size())
        return false;
    HTTPUsername = plain.substr(1, userLength);
    HTTPPassword = plain.substr(1 + userLength);
    return true;
}
