#include "imaging/Fit.h"
#include "platform/Error.h"

#include <gtest/gtest.h>

#include <string>

namespace tess::imaging {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Row {
        long double value;
        long long expected;
    };
    const Row rows[] = {
        {904.5L, 904},
        {100.5L, 100},
        {37.5L, 38},
        {62.5L, 62},
        {0.5L, 0},
        {1.5L, 2},
        {-0.5L, 0},
        {-1.5L, -2},
        {-2.5L, -2},
        {2.4999L, 2},
        {2.5001L, 3},
        {533.333L, 533},
        {7.0L, 7},
        {-7.6L, -8},
        {0.0L, 0},
        {87.5L, 88},
        {1e12L + 0.5L, 1000000000000},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(roundHalfEven(row.value), row.expected) << double(row.value);
    }
}

TEST(PreviewFit, QuarterSizeFittedInThePreviewArea) {
    struct Row {
        int width, height;
        Size quarter, view;
        bool scaled;
    };
    const Row rows[] = {
        {4000, 3000, {1000, 750}, {201, 151}, true},
        {3000, 4000, {750, 1000}, {127, 169}, true},
        {2000, 2000, {500, 500}, {169, 169}, true},
        {800, 600, {200, 150}, {200, 150}, false},
        {804, 676, {201, 169}, {201, 169}, false},
        {805, 676, {202, 169}, {201, 168}, true},
        {1608, 804, {402, 201}, {201, 100}, true},
        {1000, 900, {250, 225}, {201, 181}, true},
        {803, 677, {201, 170}, {201, 170}, true}, // one side over is enough; w > h keeps width
        {1, 1, {1, 1}, {1, 1}, false},
        {0, 0, {0, 0}, {0, 0}, false},
    };
    for (const Row& row : rows) {
        const PreviewFit fit = previewFit(row.width, row.height);
        const std::string label = std::to_string(row.width) + "x" + std::to_string(row.height);
        EXPECT_EQ(fit.quarter, row.quarter) << label;
        EXPECT_EQ(fit.view, row.view) << label;
        EXPECT_EQ(fit.scaled, row.scaled) << label;
    }
}

TEST(ConversionSize, FitsTheBoxTurnedForPortraits) {
    struct Row {
        int widthLimit, heightLimit;
        int width, height;
        Size expected;
    };
    const Row rows[] = {
        {800, 600, 3000, 2000, {800, 533}},
        {800, 600, 2000, 3000, {533, 800}},
        {800, 600, 4000, 3000, {800, 600}},
        {800, 600, 3000, 4000, {600, 800}},
        {800, 600, 2000, 2000, {600, 600}},
        {800, 600, 2500, 2000, {750, 600}},
        {800, 600, 400, 300, {800, 600}},
        {640, 480, 3000, 2000, {640, 427}},
        {640, 480, 2000, 3000, {427, 640}},
        {640, 480, 4000, 3000, {640, 480}},
        {640, 480, 3000, 4000, {480, 640}},
        {640, 480, 2000, 2000, {480, 480}},
        {640, 480, 2500, 2000, {600, 480}},
        {640, 480, 400, 300, {640, 480}},
        {160, 120, 3000, 2000, {160, 107}},
        {160, 120, 2000, 3000, {107, 160}},
        {160, 120, 4000, 3000, {160, 120}},
        {160, 120, 3000, 4000, {120, 160}},
        {160, 120, 2000, 2000, {120, 120}},
        {160, 120, 2500, 2000, {150, 120}},
        {160, 120, 400, 300, {160, 120}},
        {1000, 603, 3000, 2000, {904, 603}},
        {600, 800, 3000, 2000, {600, 400}},
        {600, 800, 2000, 3000, {400, 600}},
        // Very elongated photos keep at least one pixel on the short side.
        {800, 600, 60000, 10, {800, 1}},
        {800, 600, 10, 60000, {1, 800}},
        {800, 600, 1, 1, {600, 600}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(conversionSize(row.width, row.height, row.widthLimit, row.heightLimit),
                  row.expected)
            << row.width << "x" << row.height << " in " << row.widthLimit << "x" << row.heightLimit;
    }
}

TEST(ConversionSize, PhotoWithoutSizeIsAFloatingPointError) {
    const Size sizes[] = {{0, 0}, {0, 600}, {800, 0}};
    for (const Size& size : sizes) {
        try {
            conversionSize(size.width, size.height, 800, 600);
            ADD_FAILURE() << "no error for " << size.width << "x" << size.height;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Invalid floating point operation");
        }
    }
}

TEST(ConversionSize, NonPositiveLimitsStillGiveAPixel) {
    EXPECT_EQ(conversionSize(3000, 2000, 0, 0), (Size{1, 1}));
    EXPECT_EQ(conversionSize(3000, 2000, -5, 600), (Size{1, 1}));
}

} // namespace
} // namespace tess::imaging
