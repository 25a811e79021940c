#pragma once

#include "imaging/Image.h"

#include <atomic>
#include <string>

namespace tess::platform {
class FileSystem;
}

namespace tess::workspace {

// Whether a file has a preview: its name ends in "JPG", in any letter case. Any other file
// shows the "not available" label.
bool hasPreview(const std::string& path);

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
