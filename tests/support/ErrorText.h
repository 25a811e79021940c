#pragma once

#include "platform/Error.h"

#include <functional>
#include <string>

namespace tess::test {

// The message of the error an action throws, or "no error" when it throws none.
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "no error";
}

} // namespace tess::test
