#pragma once

#include <QIcon>
#include <QPixmap>

#include <functional>

class QPainter;

namespace palisade {

// A transparent picture of `size` logical pixels, painted at the screen's
// pixel ratio so it stays sharp on HiDPI screens.
QPixmap paintedPicture(QSize size, qreal devicePixelRatio, const std::function<void(QPainter&)>& paint);

// The two kings of one side, the double army's mark.
QPixmap twoKingsPicture(QSize size, qreal devicePixelRatio);

// The program's icon: half-boards stacked in the slanted view, and a king.
QIcon applicationIcon();

} // namespace palisade
