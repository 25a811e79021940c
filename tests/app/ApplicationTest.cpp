// The program's icon, drawn from the logo's mark, and carried by every window.
#include "WindowTest.h"

#include "app/Application.h"
#include "app/Logo.h"
#include "app/TBaseMainForm.h"
#include "app/TInfoForm.h"
#include "platform/SystemFileSystem.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// At every size the mark fills the middle of the square and leaves the corners clear, so the
// icon neither comes out blank nor shows a box on a dark panel.
TEST(ProgramIcon, IsTheMarkOnATransparentSquareAtEverySize) {
    for (int size : tess::ui::kIconSizes) {
        const QImage icon = tess::ui::tessalumaIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        const int last = size - 1;
        for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0)
                << size << " px, corner " << corner.x() << "," << corner.y();
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size << " px, middle";
    }
}

class ProgramWindows : public tess::test::WindowTest {};

TEST_F(ProgramWindows, CarryTheProgramIconAtEverySize) {
    tess::ui::setUpApplication();
    tess::platform::SystemFileSystem fs;
    TBaseMainForm mainForm(fs);
    TInfoForm about(&mainForm);
    for (QWidget* window : {static_cast<QWidget*>(&mainForm), static_cast<QWidget*>(&about)}) {
        const QList<QSize> sizes = window->windowIcon().availableSizes();
        EXPECT_EQ(sizes.size(), qsizetype(tess::ui::kIconSizes.size()))
            << window->metaObject()->className();
        for (int size : tess::ui::kIconSizes)
            EXPECT_TRUE(sizes.contains(QSize(size, size)))
                << window->metaObject()->className() << " " << size << " px";
    }
}

} // namespace
