#pragma once

#include <stdexcept>
#include <string>

namespace tess {

// A failure that ends the command it happens in and reaches the application's error box.
// The message is shown as it stands (the box adds the closing full stop).
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace tess
