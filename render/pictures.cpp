#include "render/pictures.h"

#include "render/piece_painter.h"

#include <QPainter>

namespace palisade {

QPixmap paintedPicture(QSize size, qreal devicePixelRatio, const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    return pixmap;
}

QPixmap twoKingsPicture(QSize size, qreal devicePixelRatio)
{
    return paintedPicture(size, devicePixelRatio, [size](QPainter& painter) {
        const qreal half = size.width() / 2.0;
        paintPiece(painter, 6, QRectF(0, 0, half, size.height()));
        paintPiece(painter, 12, QRectF(half, 0, half, size.height()));
    });
}

QIcon applicationIcon()
{
    // The installed icon theme holds drawings made for each size; run from
    // the build tree, the program carries the scalable one itself.
    return QIcon::fromTheme("palisade-brindle", QIcon(":/icons/palisade-brindle.svg"));
}

} // namespace palisade
