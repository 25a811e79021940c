#include "dialogs/DialogPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tess::ui {
namespace {

constexpr int kSide = 16;

QPixmap blankPixmap() {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// The check mark's outline: a short stroke down to the right, then a long one up to the right.
QPainterPath checkMarkPath() {
    QPolygonF shape;
    shape << QPointF(1.5, 8.5) << QPointF(4.0, 6.0) << QPointF(6.5, 8.5) << QPointF(12.5, 2.5)
          << QPointF(15.0, 5.0) << QPointF(6.5, 13.5);
    QPainterPath path;
    path.addPolygon(shape);
    path.closeSubpath();
    return path;
}

} // namespace

QIcon checkMarkIcon() {
    const QPainterPath path = checkMarkPath();

    QPixmap normal = blankPixmap();
    {
        QPainter p(&normal);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 100, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0, 176, 0));
        p.drawPath(path);
    }

    // Disabled pictures are embossed outlines: a white shadow under a grey line.
    QPixmap disabled = blankPixmap();
    {
        QPainter p(&disabled);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, 1.0));
        p.drawPath(path.translated(1, 1));
        p.setPen(QPen(QColor(128, 128, 128), 1.0));
        p.drawPath(path);
    }

    QIcon icon;
    icon.addPixmap(normal, QIcon::Normal);
    icon.addPixmap(normal, QIcon::Active);
    icon.addPixmap(normal, QIcon::Selected);
    icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}

QPixmap folderPicture(bool open) {
    QPixmap pixmap = blankPixmap();
    QPainter p(&pixmap);
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
    return pixmap;
}

QPixmap drivePicture() {
    QPixmap pixmap = blankPixmap();
    QPainter p(&pixmap);
    p.setPen(QColor(64, 64, 64));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(1, 6, 13, 6);
    p.setPen(Qt::white);
    p.drawLine(2, 7, 13, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 200, 0));
    p.drawRect(11, 9, 2, 2);
    return pixmap;
}

} // namespace tess::ui
