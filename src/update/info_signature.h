#pragma once
// The signature an information file carries of itself, and the digest it carries of each
// file it lists. Both are entries the file format reads as comment, so older readers are
// not disturbed:
//   #sha256:<address>=<64 hex digits>    the SHA-256 digest of the file at that address
//   #signature=<128 hex digits>          the last line: the Ed25519 signature of every
//                                        byte before it
#include <map>
#include <string>

// The public key (hex) the program checks information files against: a build setting.
const std::string& UpdatePublicKey();

// True when the text ends with a signature entry that is valid under `publicKeyHex` for
// everything before it; nothing but line ends may follow the signature.
bool InfoFileIsSigned(const std::string& text, const std::string& publicKeyHex);

// The digest the file publishes for an address, as 32 raw bytes; empty when it has none.
std::string InfoDigestOf(const std::string& text, const std::string& address);
// True when `content` has the digest the file publishes for the address.
bool MatchesInfoDigest(const std::string& text, const std::string& address, const std::string& content);

// The file signed: any earlier signature and digest entries removed, a digest entry for
// every address in `contents`, and the signature line last. Empty for a bad secret key.
std::string SignInfoFile(const std::string& text, const std::map<std::string, std::string>& contents,
                         const std::string& secretKey);

std::string ToHex(const std::string& bytes);
// Raw bytes of a hex text; empty for anything that is not an even run of hex digits.
std::string FromHex(const std::string& hex);
