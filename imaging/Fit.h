#pragma once

#include "imaging/Image.h"

namespace tess::imaging {

// Round to the nearest integer, a half to the even neighbour.
long long roundHalfEven(long double value);

// The preview of a photo of the given stored size in a 201 x 169 area: the quarter size
// (rounded up), fitted when it does not fit. `scaled` tells whether it was stretched.
struct PreviewFit {
    Size quarter; // the decoded size at 1/4
    Size view;    // the view's new size
    bool scaled = false;
};
inline constexpr int kPreviewWidth = 201;
inline constexpr int kPreviewHeight = 169;
PreviewFit previewFit(int storedWidth, int storedHeight);

// The conversion's target size for a photo of W x H in a box of widthLimit x heightLimit (the
// box turned when the photo is taller than wide; small photos are enlarged). Computed in
// long double, each side rounded half to even; a side that rounds to 0 gets 1 pixel.
// Throws tess::Error("Invalid floating point operation") for a 0 x 0 photo.
Size conversionSize(int width, int height, int widthLimit, int heightLimit);

} // namespace tess::imaging
