#pragma once

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>

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

} // namespace tess::test
