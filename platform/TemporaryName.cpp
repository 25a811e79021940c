#include "platform/TemporaryName.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

namespace tess::platform {

namespace {

constexpr std::string_view kPrefix = ".tess-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 16;
// The longest count a 64-bit counter gives.
constexpr std::size_t kMaxCountDigits = 20;

} // namespace

std::string temporaryFileName() {
    static const unsigned long long seed = [] {
        std::random_device device;
        return (static_cast<unsigned long long>(device()) << 32) ^ device();
    }();
    static std::atomic<unsigned long long> counter{0};
    char middle[48];
    std::snprintf(middle, sizeof middle, "%016llx-%llu", seed, counter++);
    return std::string(kPrefix).append(middle).append(kSuffix);
}

bool isTemporaryFileName(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return false;
    }
    name = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    if (name.size() < kRandomDigits + 2 || name[kRandomDigits] != '-') {
        return false;
    }
    const std::string_view random = name.substr(0, kRandomDigits);
    const std::string_view count = name.substr(kRandomDigits + 1);
    const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    return std::all_of(random.begin(), random.end(), hex) && count.size() <= kMaxCountDigits &&
           std::all_of(count.begin(), count.end(), digit) && (count == "0" || count[0] != '0');
}

} // namespace tess::platform
