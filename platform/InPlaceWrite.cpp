#include "platform/InPlaceWrite.h"

#include <algorithm>

namespace tess::platform {

bool applyPatches(PatchTarget& file, std::string_view oldBytes, const PatchPlan& plan) {
    if (plan.size > oldBytes.size() && !file.reserve(plan.size)) {
        return false;
    }
    std::size_t made = 0;
    bool written = true;
    for (const FilePatch& patch : plan.writes) {
        // A write that fails may have changed part of its place: it is put back too.
        ++made;
        if (!file.write(patch.offset, patch.bytes) || !file.sync()) {
            written = false;
            break;
        }
    }
    if (written && (plan.size >= oldBytes.size() || file.resize(plan.size)) && file.sync()) {
        return true;
    }
    for (std::size_t i = made; i-- > 0;) {
        const FilePatch& patch = plan.writes[i];
        if (patch.offset < oldBytes.size()) {
            const std::size_t length = std::min(patch.bytes.size(), oldBytes.size() - patch.offset);
            file.write(patch.offset, oldBytes.substr(patch.offset, length));
        }
    }
    if (plan.size < oldBytes.size()) {
        // The file may have been cut already.
        file.write(plan.size, oldBytes.substr(plan.size));
    }
    file.resize(oldBytes.size());
    file.sync();
    return false;
}

} // namespace tess::platform
