#include "platform/errors.h"

namespace platform {

FileOpenError::FileOpenError(const std::string& path, const std::string& reason)
    : Error("Cannot open file \"" + path + "\". " + reason) {}

FileCreateError::FileCreateError(const std::string& path, const std::string& reason)
    : Error("Cannot create file \"" + path + "\". " + reason), reason_(reason) {}

} // namespace platform
