#include "update/info_signature.h"

#include "common/ascii_text.h"
#include "platform/signing.h"
#include "update/update_info.h"

#ifndef QUOR_UPDATE_PUBLIC_KEY
#error "QUOR_UPDATE_PUBLIC_KEY names the key information files are checked against"
#endif

namespace {

const char* const kSignatureKey = "#signature=";
const char* const kDigestKey = "sha256:";

// Lines of the text without those that begin with one of the entries this file writes.
std::string withoutOwnEntries(const std::string& text) {
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = AsciiUpper(text.substr(pos, end - pos));
        if (line.rfind(AsciiUpper(kSignatureKey), 0) != 0 && line.rfind(AsciiUpper(std::string("#") + kDigestKey), 0) != 0)
            out += text.substr(pos, end - pos);
        pos = end;
    }
    return out;
}

} // namespace

const std::string& UpdatePublicKey() {
    static const std::string key = QUOR_UPDATE_PUBLIC_KEY;
    return key;
}

std::string ToHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string FromHex(const std::string& hex) {
    auto value = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2)
        return {};
    std::string out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = value(hex[i]), lo = value(hex[i + 1]);
        if (hi < 0 || lo < 0)
            return {};
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

bool InfoFileIsSigned(const std::string& text, const std::string& publicKeyHex) {
    const std::size_t at = AsciiUpper(text).rfind(AsciiUpper(kSignatureKey));
    if (at == std::string::npos)
        return false;
    std::size_t end = at + std::string(kSignatureKey).size();
    const std::size_t valueStart = end;
    while (end < text.size() && static_cast<unsigned char>(text[end]) >= 32)
        ++end;
    for (std::size_t i = end; i < text.size(); ++i)
        if (text[i] != '\r' && text[i] != '\n')
            return false; // nothing unsigned may follow
    const std::string signature = FromHex(text.substr(valueStart, end - valueStart));
    const std::string key = FromHex(publicKeyHex);
    return platform::verifySignature(text.substr(0, at), signature, key);
}

std::string InfoDigestOf(const std::string& text, const std::string& address) {
    const std::string digest = FromHex(InfoValue(text, kDigestKey + address));
    return digest.size() == 32 ? digest : std::string();
}

bool MatchesInfoDigest(const std::string& text, const std::string& address, const std::string& content) {
    const std::string digest = InfoDigestOf(text, address);
    return !digest.empty() && digest == platform::sha256(content);
}

std::string SignInfoFile(const std::string& text, const std::map<std::string, std::string>& contents,
                         const std::string& secretKey) {
    std::string body = withoutOwnEntries(text);
    if (!body.empty() && body.back() != '\n')
        body += "\r\n";
    for (const auto& [address, content] : contents)
        body += "#" + std::string(kDigestKey) + address + "=" + ToHex(platform::sha256(content)) + "\r\n";
    const std::string signature = platform::signMessage(body, secretKey);
    if (signature.empty())
        return {};
    return body + kSignatureKey + ToHex(signature) + "\r\n";
}
