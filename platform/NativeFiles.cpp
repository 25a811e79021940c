#include "platform/NativeFiles.h"

#include "platform/Error.h"
#include "platform/ProfileText.h"
#include "platform/TextEncoding.h"

namespace tess::platform {

std::vector<std::uint8_t> readWholeFile(const std::string& nativePath,
                                        const std::string& shownPath) {
    std::vector<std::uint8_t> contents;
    if (readNativeFile(nativePath, contents) != ReadResult::Read) {
        throw Error("Cannot open file " + singleLineText(shownPath));
    }
    return contents;
}

std::optional<std::vector<std::uint8_t>> readWholeFileUpTo(const std::string& nativePath,
                                                           const std::string& shownPath,
                                                           std::size_t maxSize) {
    std::vector<std::uint8_t> contents;
    switch (readNativeFile(nativePath, contents, maxSize)) {
    case ReadResult::Read:
        return contents;
    case ReadResult::TooBig:
        return std::nullopt;
    default:
        throw Error("Cannot open file " + singleLineText(shownPath));
    }
}

namespace {

ReadResult readText(const std::string& nativePath, std::string& text) {
    std::vector<std::uint8_t> bytes;
    const ReadResult result = readNativeFile(nativePath, bytes);
    text.assign(bytes.begin(), bytes.end());
    return result;
}

// Rewrites a file that holds `oldBytes` through the file itself.
bool rewriteInPlace(const std::string& nativePath, std::string_view oldBytes,
                    const PatchPlan& plan) {
    const std::unique_ptr<PatchTarget> file = openForRewrite(nativePath);
    return file && applyPatches(*file, oldBytes, plan);
}

} // namespace

std::vector<std::optional<std::string>> readProfileFile(const std::string& nativePath,
                                                        const std::string& section,
                                                        const std::vector<std::string>& keys) {
    std::string bytes;
    if (readText(nativePath, bytes) != ReadResult::Read) {
        return std::vector<std::optional<std::string>>(keys.size());
    }
    return findProfileValues(decodeProfileFile(std::move(bytes)).text, section, keys);
}

bool writeProfileFile(const std::string& nativePath, const std::string& section,
                      const std::vector<ProfileSetting>& settings) {
    std::string bytes;
    const ReadResult read = readText(nativePath, bytes);
    if (read == ReadResult::Failed) {
        return false;
    }
    std::vector<std::size_t> refused;
    const std::string updated = setProfileFileValues(bytes, section, settings, refused);
    if (refused.size() == settings.size()) {
        return false;
    }
    bool written = false;
    switch (replaceNativeFile(nativePath, updated.data(), updated.size())) {
    case WriteOutcome::Written:
        written = true;
        break;
    case WriteOutcome::Refused:
        // A file Windows could write in place is not left unwritten because its folder refuses
        // the replace.
        if (read == ReadResult::Read) {
            std::vector<std::size_t> again;
            written = rewriteInPlace(nativePath, bytes,
                                     planProfileRewrite(bytes, section, settings, again));
        }
        break;
    case WriteOutcome::Failed:
        break;
    }
    return written && refused.empty();
}

} // namespace tess::platform
