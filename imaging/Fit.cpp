#include "imaging/Fit.h"

#include "platform/Error.h"

#include <algorithm>
#include <cmath>

namespace tess::imaging {

long long roundHalfEven(long double value) {
    // Worked out by hand rather than with nearbyint so the answer does not depend on the
    // floating-point rounding mode someone else may have set.
    if (!std::isfinite(value)) {
        return 0;
    }
    const long double floor = std::floor(value);
    const long double fraction = value - floor;
    long long result = static_cast<long long>(floor);
    if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) {
        ++result;
    }
    return result;
}

PreviewFit previewFit(int storedWidth, int storedHeight) {
    PreviewFit fit;
    fit.quarter = {(storedWidth + 3) / 4, (storedHeight + 3) / 4};
    const int w = fit.quarter.width;
    const int h = fit.quarter.height;
    if (h > kPreviewHeight || w > kPreviewWidth) {
        fit.scaled = true;
        if (w > h) {
            fit.view = {kPreviewWidth, static_cast<int>(roundHalfEven(
                                           static_cast<long double>(kPreviewWidth) / w * h))};
        } else if (w < h) {
            fit.view = {
                static_cast<int>(roundHalfEven(static_cast<long double>(kPreviewHeight) / h * w)),
                kPreviewHeight};
        } else {
            fit.view = {kPreviewHeight, kPreviewHeight};
        }
    } else {
        fit.view = fit.quarter;
    }
    return fit;
}

Size conversionSize(int width, int height, int widthLimit, int heightLimit) {
    if (width <= 0 || height <= 0) {
        // A zero-byte file reads as a 0 x 0 photo; its ratio is a division by zero.
        throw Error("Invalid floating point operation");
    }
    const long double w = width;
    const long double h = height;
    // A photo taller than wide fits the same box turned on its side.
    const bool turned = h / w > 1;
    const long double boxWidth = turned ? heightLimit : widthLimit;
    const long double boxHeight = turned ? widthLimit : heightLimit;

    // Each side comes from the stored size on its own, so a side that reaches the box edge
    // keeps the box's value exactly.
    long long newWidth =
        std::min(static_cast<long long>(boxWidth), roundHalfEven(w / h * boxHeight));
    long long newHeight =
        std::min(static_cast<long long>(boxHeight), roundHalfEven(h / w * boxWidth));
    // A very elongated photo still gets one pixel across.
    newWidth = std::max(newWidth, 1LL);
    newHeight = std::max(newHeight, 1LL);
    return {static_cast<int>(newWidth), static_cast<int>(newHeight)};
}

} // namespace tess::imaging
