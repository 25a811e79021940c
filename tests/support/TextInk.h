#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tess::test {

// Qt's offscreen platform on Windows draws text through FreeType with fully hinted advances and
// Qt's own style, neither as Windows draws it (GDI, which strikes a bitmap face's bold itself)
// nor as Linux does: what a test measures of drawn text holds for neither there.
inline bool textDrawnUnlikeAnyDesktop() {
#ifdef Q_OS_WIN
    return QGuiApplication::platformName() == QLatin1String("offscreen");
#else
    return false;
#endif
}
inline constexpr const char* kTextDrawnUnlikeAnyDesktop =
    "the offscreen platform on Windows draws text neither as Windows nor as Linux does";

// How wide the ink of a picture runs: from its leftmost to its rightmost dark pixel (0 when
// nothing is dark).
inline int inkWidth(const QImage& picture) {
    int left = picture.width(), right = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0 : right - left + 1;
}

// A text as the toolkit draws it in the regular strike of a font's face, black on white.
inline QImage regularText(const QString& text, QFont font) {
    font.setBold(false);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
    QImage picture(400, 40, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(picture.rect(), Qt::AlignCenter, text);
    return picture;
}

// A label drawn in a bold face without a bold strike must show it as Windows does: each glyph
// struck twice, one pixel apart, and advanced one pixel further, so the drawn line is as many
// pixels wider than the regular strike as it has letters.
inline ::testing::AssertionResult drawnBold(QLabel* label) {
    const int drawn = inkWidth(label->grab().toImage());
    const int regular = inkWidth(regularText(label->text(), label->font()));
    const int letters = int(label->text().size());
    if (drawn >= regular + letters - 1 && drawn <= regular + letters + 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << '"' << label->text().toStdString() << "\" is drawn " << drawn << " px wide, regular "
           << regular << " px, " << letters << " letters";
}

// The `area` of a widget as a screen scaled to `ratio` (1.5 for 150 %) shows it, white behind.
inline QImage renderedAt(QWidget* widget, const QRect& area, qreal ratio) {
    QImage picture((QSizeF(area.size()) * ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    widget->render(&picture, QPoint(), QRegion(area));
    return picture;
}

// The ink of a picture: how many pixels, how wide it runs, and the widest run of columns
// without any inside that width (the space between two letters, or two words).
struct Ink {
    int pixels = 0, width = 0, widestGap = 0;
};
using IsInk = bool (*)(QRgb);
inline Ink inkOf(const QImage& picture, IsInk isInk) {
    Ink ink;
    for (int x = 0, first = -1, last = -1; x < picture.width(); ++x) {
        int column = 0;
        for (int y = 0; y < picture.height(); ++y)
            column += isInk(picture.pixel(x, y));
        if (column == 0)
            continue;
        ink.pixels += column;
        ink.widestGap = first < 0 ? 0 : std::max(ink.widestGap, x - last - 1);
        first = first < 0 ? x : first;
        last = x;
        ink.width = last - first + 1;
    }
    return ink;
}

// A widget drawn on a screen scaled to 150 % and 200 % looks like its 100 % picture made that
// much bigger: r * r times the ink, r times as wide, and no gap wider than r times the widest
// at 100 % (letters drawn at their 100 % size but spread to the scaled advances fail all three).
// `area` leaves out what the style draws on its own; ink is dark unless said otherwise.
inline ::testing::AssertionResult scalesLikeItsPicture(
    QWidget* widget, QRect area = {}, IsInk isInk = [](QRgb pixel) { return qGray(pixel) < 128; }) {
    area = area.isNull() ? widget->rect() : area;
    const Ink base = inkOf(renderedAt(widget, area, 1), isInk);
    for (qreal ratio : {1.5, 2.0}) {
        const Ink scaled = inkOf(renderedAt(widget, area, ratio), isInk);
        if (base.pixels == 0 || scaled.pixels < 0.875 * ratio * ratio * base.pixels ||
            std::abs(scaled.width - ratio * base.width) > ratio + 1 ||
            scaled.widestGap > ratio * base.widestGap + 1)
            return ::testing::AssertionFailure()
                   << widget->objectName().toStdString() << " at " << ratio << " and at 1: ink "
                   << scaled.pixels << ", " << base.pixels << "; width " << scaled.width << ", "
                   << base.width << "; widest gap " << scaled.widestGap << ", " << base.widestGap;
    }
    return ::testing::AssertionSuccess();
}

} // namespace tess::test
