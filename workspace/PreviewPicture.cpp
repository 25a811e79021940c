#include "workspace/PreviewPicture.h"

#include "imaging/Exif.h"
#include "imaging/Fit.h"
#include "imaging/Jpeg.h"
#include "imaging/Orientation.h"
#include "platform/Error.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "platform/WindowsPath.h"
#include "workspace/PhotoFiles.h"

#include <optional>

namespace tess::workspace {

bool hasPreview(const std::string& path) {
    const std::string tail = path.size() > 3 ? path.substr(path.size() - 3) : path;
    return platform::asciiUpper(tail) == "JPG";
}

std::optional<std::string> previewPath(const std::string& folder, const std::string& name) {
    if (name.empty())
        return std::nullopt;
    return photoPath(folder, name);
}

imaging::RgbImage decodePreview(platform::FileSystem& fs, const std::string& path,
                                const std::atomic<bool>* stop) {
    const std::optional<imaging::Bytes> read = fs.readFileUpTo(path, imaging::kMaxPreviewFileSize);
    if (!read)
        throw Error(std::string(imaging::kPreviewTooLarge) + ": " + platform::singleLineText(path));
    const imaging::Bytes& data = *read;
    const imaging::JpegInfo info = imaging::readJpegHeader(data);
    const int orientation = imaging::readExifOrientation(data);
    const imaging::Size upright = imaging::orientedSize({info.width, info.height}, orientation);
    const imaging::PreviewFit fit = imaging::previewFit(upright.width, upright.height);
    const std::vector<imaging::RgbImage> pictures =
        imaging::decodeStretched(data, imaging::DecodeProfile::SpeedFirst,
                                 {imaging::orientedSize(fit.view, orientation)}, stop);
    return imaging::turnUpright(pictures.front(), orientation);
}

} // namespace tess::workspace
