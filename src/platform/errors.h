#pragma once
// Errors raised by the framework layer. Their messages are the texts the program shows.
#include <stdexcept>
#include <string>

namespace platform {

// Base of every error that the default exception handler shows as its message.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "Cannot open file "%s". %s"
class FileOpenError : public Error {
public:
    FileOpenError(const std::string& path, const std::string& reason);
};

// "Cannot create file "%s". %s"
class FileCreateError : public Error {
public:
    FileCreateError(const std::string& path, const std::string& reason);
    // The system's reason alone, without the path.
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
};

// A write or rename that failed after the file was created: the system's reason text.
class InOutError : public Error {
public:
    explicit InOutError(const std::string& reason) : Error(reason) {}
};

} // namespace platform
