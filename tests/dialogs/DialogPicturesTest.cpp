// The dialogs' pictures on screens scaled above 100 %.
#include "dialogs/DialogPictures.h"

#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// Each picture is drawn for the screen's own pixels, leaving the toolkit nothing to blur, and
// a pixel picture at 200 % is its 100 % picture with every pixel doubled.
TEST(DialogPictures, AreDrawnForTheScreensPixels) {
    using namespace tess::ui;
    const QSize side(16, 16);
    for (const QIcon& icon :
         {checkMarkIcon(), folderPicture(true), folderPicture(false), drivePicture()})
        for (qreal ratio : {1.0, 1.5, 2.0})
            EXPECT_EQ(icon.pixmap(side, ratio).size(), side * ratio) << ratio;

    const QImage once = folderPicture(true).pixmap(side, 1.0).toImage();
    const QImage twice = folderPicture(true).pixmap(side, 2.0).toImage();
    ASSERT_EQ(twice.size(), once.size() * 2);
    for (int y = 0; y < twice.height(); ++y)
        for (int x = 0; x < twice.width(); ++x)
            ASSERT_EQ(twice.pixel(x, y), once.pixel(x / 2, y / 2)) << x << "," << y;
}

} // namespace
