#pragma once

#include "imaging/Image.h"

namespace tess::imaging {

// The size a photo of the given stored size is seen at once its Exif orientation is applied:
// the sides swap for 5 to 8, the tags that turn it a quarter. Swapping is its own inverse, so
// the same call gives the stored size of an upright size.
Size orientedSize(Size stored, int orientation);

// The picture mirrored and turned as its Exif orientation says, the way viewers show it.
// Orientations outside 2 to 8 leave it as it is.
RgbImage turnUpright(const RgbImage& stored, int orientation);

} // namespace tess::imaging
