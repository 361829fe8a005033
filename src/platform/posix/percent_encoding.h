#pragma once
#include <string>

namespace platform::posix {

// A native path as a URI carries it (a "file://" address, a trash record): every byte
// outside the unreserved set is escaped as "%XX", "/" is kept.
std::string percentEncodePath(const std::string& path);

// An address as the desktop's opener takes it: the bytes a URI cannot carry (blanks, line
// ends, other control characters, bytes above 127, quotes, braces and the like, a "%" that
// starts no escape) escaped the same way, the rest left as written.
std::string percentEncodeAddress(const std::string& address);

} // namespace platform::posix
