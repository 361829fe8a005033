#pragma once
#include <string>

namespace platform::posix {

// A native path as a URI carries it (a "file://" address, a trash record): every byte
// outside the unreserved set is escaped as "%XX", "/" is kept.
std::string percentEncodePath(const std::string& path);

} // namespace platform::posix
