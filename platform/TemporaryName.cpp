#include "platform/TemporaryName.h"

#include <atomic>
#include <cstdio>
#include <random>

namespace tess::platform {

std::string temporaryFileName() {
    static const unsigned long long seed = [] {
        std::random_device device;
        return (static_cast<unsigned long long>(device()) << 32) ^ device();
    }();
    static std::atomic<unsigned long long> counter{0};
    char name[64];
    std::snprintf(name, sizeof name, ".tess-%016llx-%llu.tmp", seed, counter++);
    return name;
}

} // namespace tess::platform
