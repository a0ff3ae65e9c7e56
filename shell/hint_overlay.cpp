#include "shell/hint_overlay.h"

#include "render/board_geometry.h"
#include "render/board_view.h"

#include <QPainter>

namespace palisade {

HintOverlay::HintOverlay(BoardView& board) : QWidget(&board), board_(board)
{
    setObjectName("hintOverlay");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void HintOverlay::showMove(Move move)
{
    move_ = move;
    setGeometry(board_.rect());
    QWidget::show();
    raise();
    update();
}

void HintOverlay::clear()
{
    move_.reset();
    hide();
}

void HintOverlay::paintEvent(QPaintEvent*)
{
    if (!move_) return;
    setGeometry(board_.rect());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(board_.pictureTransform());
    const QColor hint(30, 160, 60);
    QPen outline(hint, 5);
    outline.setJoinStyle(Qt::RoundJoin);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(board_geometry::squareOutline(move_->pick));
    painter.drawPolygon(board_geometry::squareOutline(move_->drop));
    QPen line(hint, 4, Qt::DashLine, Qt::RoundCap);
    painter.setPen(line);
    painter.drawLine(board_geometry::markCentre(move_->pick), board_geometry::markCentre(move_->drop));
}

} // namespace palisade
