#pragma once
// The error that event handlers raise and the application's error report shows.
// Kept free of Qt so that the protocol code can raise it too.
#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that is not a number where one was expected.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

} // namespace platform
