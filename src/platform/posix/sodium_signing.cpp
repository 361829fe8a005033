// Digests and signatures through libsodium.
#include <sodium.h>

#include "platform/signing.h"

namespace platform {

namespace {

bool ready() {
    static const bool ok = ::sodium_init() >= 0;
    return ok;
}

const unsigned char* bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

} // namespace

static_assert(kPublicKeyBytes == crypto_sign_PUBLICKEYBYTES && kSecretKeyBytes == crypto_sign_SECRETKEYBYTES &&
              kSignatureBytes == crypto_sign_BYTES);

std::string sha256(const std::string& data) {
    std::string out(crypto_hash_sha256_BYTES, '\0');
    ready();
    ::crypto_hash_sha256(reinterpret_cast<unsigned char*>(out.data()), bytes(data), data.size());
    return out;
}

bool verifySignature(const std::string& message, const std::string& signature, const std::string& publicKey) {
    if (!ready() || signature.size() != crypto_sign_BYTES || publicKey.size() != crypto_sign_PUBLICKEYBYTES)
        return false;
    return ::crypto_sign_verify_detached(bytes(signature), bytes(message), message.size(), bytes(publicKey)) == 0;
}

bool makeKeyPair(std::string& publicKey, std::string& secretKey) {
    if (!ready())
        return false;
    publicKey.assign(crypto_sign_PUBLICKEYBYTES, '\0');
    secretKey.assign(crypto_sign_SECRETKEYBYTES, '\0');
    return ::crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey.data()),
                                 reinterpret_cast<unsigned char*>(secretKey.data())) == 0;
}

std::string signMessage(const std::string& message, const std::string& secretKey) {
    if (!ready() || secretKey.size() != crypto_sign_SECRETKEYBYTES)
        return {};
    std::string sig(crypto_sign_BYTES, '\0');
    ::crypto_sign_detached(reinterpret_cast<unsigned char*>(sig.data()), nullptr, bytes(message), message.size(),
                           bytes(secretKey));
    return sig;
}

} // namespace platform
