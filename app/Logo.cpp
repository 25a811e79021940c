#include "app/Logo.h"

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace tess::ui {
namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 64;

// The 16 colours of the classic VGA palette, in their usual order.
QList<QRgb> vgaColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kGreen(0, 128, 0);
const QColor kGray(128, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kAqua(0, 255, 255);
const QColor kWhite(255, 255, 255);

// Where the mark lies in the logo, with its shadow.
const QRect kMarkFrame(6, 5, 66, 54);
const QRect kMarkBounds = kMarkFrame.adjusted(0, 0, 3, 3);

// The mark: a photo print in a navy frame showing a sun over two mountains. In the logo it is
// drawn without antialiasing so that every pixel already is one of the palette's colours.
void drawMark(QPainter& painter) {
    const QRect frame = kMarkFrame;
    const QRect picture = frame.adjusted(5, 5, -5, -5);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kGray);
    painter.drawRect(frame.translated(3, 3));
    painter.setBrush(kNavy);
    painter.drawRect(frame);
    painter.setBrush(kWhite);
    painter.drawRect(frame.adjusted(2, 2, -2, -2));

    painter.save();
    painter.setClipRect(picture);
    painter.setBrush(kAqua);
    painter.drawRect(picture);
    painter.setBrush(kYellow);
    painter.drawEllipse(QPoint(picture.right() - 13, picture.top() + 10), 7, 7);

    const int base = picture.bottom() + 1;
    const int left = picture.left();
    painter.setBrush(kTeal);
    painter.drawPolygon(
        QPolygon({QPoint(left + 14, base), QPoint(left + 36, base - 26), QPoint(left + 60, base)}));
    painter.setBrush(kGreen);
    painter.drawPolygon(
        QPolygon({QPoint(left - 4, base), QPoint(left + 17, base - 32), QPoint(left + 38, base)}));
    painter.setBrush(kWhite);
    painter.drawPolygon(QPolygon({QPoint(left + 12, base - 24), QPoint(left + 17, base - 32),
                                  QPoint(left + 22, base - 24), QPoint(left + 17, base - 21)}));
    painter.restore();
}

// The largest bold sans-serif font, at most `maxPixels` high, whose rendering of `text` fits
// in `width` pixels; whatever face the system offers, the word keeps to its place.
QFont fittingFont(const QString& text, int width, int maxPixels, int letterSpacing) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    for (int pixels = maxPixels; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            break;
    }
    return font;
}

void drawWords(QPainter& painter) {
    const int left = 84;
    const int width = kWidth - left - 4;

    const QString name = QStringLiteral("TESSALUMA");
    const QFont nameFont = fittingFont(name, width, 30, 1);
    painter.setFont(nameFont);
    painter.setPen(kNavy);
    const int nameBaseline = 33;
    painter.drawText(left, nameBaseline, name);

    const int nameWidth = QFontMetrics(nameFont).horizontalAdvance(name);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRed);
    painter.drawRect(left, nameBaseline + 4, nameWidth, 3);

    const QString motto = QStringLiteral("riduzione fotografie");
    painter.setFont(fittingFont(motto, nameWidth, 12, 0));
    painter.setPen(kGray);
    painter.drawText(QRect(left, nameBaseline + 9, nameWidth, 16), Qt::AlignHCenter | Qt::AlignTop,
                     motto);
}

} // namespace

QImage tessalumaLogo() {
    QImage canvas(kWidth, kHeight, QImage::Format_RGB32);
    canvas.fill(kWhite);
    {
        QPainter painter(&canvas);
        drawMark(painter);
        // The words are antialiased; their soft edges fall onto the palette's greys below.
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        drawWords(painter);
    }
    return canvas.convertToFormat(QImage::Format_Indexed8, vgaColours(),
                                  Qt::ThresholdDither | Qt::AvoidDither);
}

QImage tessalumaIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The mark, wider than tall, fills the width but for a margin of 1/32 on either side.
    const qreal scale = size * (1.0 - 2.0 / 32) / kMarkBounds.width();
    painter.translate(size / 2.0, size / 2.0);
    painter.scale(scale, scale);
    painter.translate(-QRectF(kMarkBounds).center());
    drawMark(painter);
    return icon;
}

QIcon tessalumaWindowIcon() {
    QIcon icon;
    for (int size : kIconSizes)
        icon.addPixmap(QPixmap::fromImage(tessalumaIcon(size)));
    return icon;
}

} // namespace tess::ui
