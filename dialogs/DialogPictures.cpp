#include "dialogs/DialogPictures.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOption>

#include <functional>
#include <utility>

namespace tess::ui {
namespace {

constexpr int kSide = 16;

// An icon drawn at each size it is asked for, in device pixels, once: the pictures are kept
// for the next paint. A mode the drawing does not make its own (it returns a null image) is
// made from the normal picture by the style, as for any icon.
class DrawnIconEngine final : public QIconEngine {
public:
    using Draw = std::function<QImage(const QSize& pixels, QIcon::Mode mode)>;

    explicit DrawnIconEngine(Draw draw) : m_draw(std::move(draw)) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
        if (size.isEmpty())
            return {};
        const quint64 key = quint64(size.width()) << 40 | quint64(size.height()) << 8 | mode;
        if (const auto kept = m_pictures.constFind(key); kept != m_pictures.constEnd())
            return *kept;
        QImage picture = m_draw(size, mode);
        QPixmap drawn;
        if (!picture.isNull()) {
            drawn = QPixmap::fromImage(std::move(picture));
        } else {
            const QPixmap normal = QPixmap::fromImage(m_draw(size, QIcon::Normal));
            QStyleOption option;
            option.palette = QApplication::palette();
            drawn = QApplication::style()->generatedIconPixmap(mode, normal, &option);
        }
        m_pictures.insert(key, drawn);
        return drawn;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state));
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_draw); }

private:
    Draw m_draw;
    QHash<quint64, QPixmap> m_pictures;
};

QImage blankPicture(const QSize& size = QSize(kSide, kSide)) {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

// The check mark's outline in a 16 x 16 square: a short stroke down to the right, then a long
// one up to the right.
QPainterPath checkMarkPath() {
    QPolygonF shape;
    shape << QPointF(1.5, 8.5) << QPointF(4.0, 6.0) << QPointF(6.5, 8.5) << QPointF(12.5, 2.5)
          << QPointF(15.0, 5.0) << QPointF(6.5, 13.5);
    QPainterPath path;
    path.addPolygon(shape);
    path.closeSubpath();
    return path;
}

QImage checkMark(const QSize& pixels, QIcon::Mode mode) {
    if (mode != QIcon::Normal && mode != QIcon::Disabled)
        return checkMark(pixels, QIcon::Normal);
    QImage picture = blankPicture(pixels);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(pixels.width()) / kSide, qreal(pixels.height()) / kSide);
    const QPainterPath path = checkMarkPath();
    if (mode == QIcon::Normal) {
        p.setPen(QPen(QColor(0, 100, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0, 176, 0));
        p.drawPath(path);
    } else {
        // Disabled pictures are embossed outlines: a white shadow under a grey line.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 1.0));
        p.drawPath(path.translated(1, 1));
        p.setPen(QPen(QColor(128, 128, 128), 1.0));
        p.drawPath(path);
    }
    return picture;
}

QImage folder(bool open) {
    QImage picture = blankPicture();
    QPainter p(&picture);
    const QColor outline(128, 96, 0);
    const QColor body(255, 214, 72);
    const QColor shade(230, 176, 32);
    p.setPen(outline);

    // The back of the folder with its tab.
    QPolygon back;
    back << QPoint(1, 3) << QPoint(5, 3) << QPoint(6, 4) << QPoint(13, 4) << QPoint(13, 13)
         << QPoint(1, 13);
    p.setBrush(open ? shade : body);
    p.drawPolygon(back);

    if (open) {
        // The front flap tilted forward, with a sheet of paper showing behind it.
        p.setBrush(Qt::white);
        p.drawRect(3, 5, 8, 4);
        QPolygon flap;
        flap << QPoint(3, 8) << QPoint(15, 8) << QPoint(12, 13) << QPoint(1, 13);
        p.setBrush(body);
        p.drawPolygon(flap);
    } else {
        p.setPen(QColor(255, 240, 176));
        p.drawLine(2, 6, 12, 6);
    }
    return picture;
}

QImage drive() {
    QImage picture = blankPicture();
    QPainter p(&picture);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 13, 6);
    p.setPen(Qt::white);
    p.drawLine(2, 7, 13, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 0));
    p.drawRect(11, 9, 2, 2);
    return picture;
}

} // namespace

QIcon checkMarkIcon() {
    return QIcon(new DrawnIconEngine(checkMark));
}

QIcon pixelIcon(const QImage& picture) {
    return QIcon(new DrawnIconEngine([picture](const QSize& pixels, QIcon::Mode mode) {
        if (mode != QIcon::Normal)
            return QImage();
        return picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }));
}

QIcon folderPicture(bool open) {
    return pixelIcon(folder(open));
}

QIcon drivePicture() {
    return pixelIcon(drive());
}

} // namespace tess::ui
