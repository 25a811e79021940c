#pragma once

#include "imaging/Image.h"

#include <atomic>
#include <optional>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// Whether a file has a preview: its name ends in "JPG", in any letter case. Any other file
// shows the "not available" label.
bool hasPreview(const std::string& path);

// The photo a list's preview shows: the folder text and the current name joined as the
// commands join them (photoPath), so a folder typed without its final "\" previews too. None for
// an empty list, which shows the "not available" label.
std::optional<std::string> previewPath(const std::string& folder, const std::string& name);

// The picture a preview shows, upright as viewers show it: decoded at a quarter of its size
// and drawn point-sampled into the view's new size (the quarter size itself when it fits),
// fitted by its upright size, then turned. A file bigger than any photo a preview can take
// (imaging::kMaxPreviewFileSize) is not even read: it fails with
// tess::Error("<imaging::kPreviewTooLarge>: <path>"). Fails as readFile and decodeStretched do
// otherwise. Safe to call from several threads at once when the file layer is. A decode no
// longer wanted ends early when `stop` turns true (see imaging::decodeStretched).
imaging::RgbImage decodePreview(platform::FileSystem& fs, const std::string& path,
                                const std::atomic<bool>* stop = nullptr);

} // namespace tess::workspace
