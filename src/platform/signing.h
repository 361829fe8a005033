#pragma once
// Digests and signatures (SHA-256, Ed25519), for what the program downloads and runs.
// Keys and signatures are raw bytes in std::string.
#include <string>

namespace platform {

inline constexpr std::size_t kPublicKeyBytes = 32;
inline constexpr std::size_t kSecretKeyBytes = 64;
inline constexpr std::size_t kSignatureBytes = 64;

// The SHA-256 digest of the bytes: 32 bytes.
std::string sha256(const std::string& data);
// True exactly when `signature` is a valid signature of `message` under `publicKey`.
bool verifySignature(const std::string& message, const std::string& signature, const std::string& publicKey);
// A new key pair; false when the system cannot make one.
bool makeKeyPair(std::string& publicKey, std::string& secretKey);
// The signature of `message` with `secretKey`; empty for a key of the wrong size.
std::string signMessage(const std::string& message, const std::string& secretKey);

} // namespace platform
