// The application's icon: a folder with a star, painted with QPainter.
#include "app/appicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap paintIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(0x9a, 0x6b, 0x00), 2));
    p.setBrush(QColor(0xf2, 0xb6, 0x32));
    p.drawPolygon(QPolygonF({{6, 16}, {26, 16}, {32, 22}, {58, 22}, {58, 54}, {6, 54}}));
    p.setBrush(QColor(0xff, 0xd7, 0x66));
    p.drawRect(QRectF(6, 26, 52, 28));
    QPainterPath star;
    star.addPolygon(QPolygonF({{32, 30},
                               {35, 37},
                               {42, 37},
                               {36.5, 41.5},
                               {38.5, 49},
                               {32, 44.5},
                               {25.5, 49},
                               {27.5, 41.5},
                               {22, 37},
                               {29, 37}}));
    p.fillPath(star, QColor(0x2d, 0x5f, 0xb8));
    return pixmap;
}

} // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(paintIcon(size));
    return icon;
}
