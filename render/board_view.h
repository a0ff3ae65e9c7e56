#pragma once

#include "gameroom/display_scale.h"

#include <QTransform>
#include <QWidget>

namespace palisade {

class GameRoom;

// The board picture: the four half-boards, the pieces, the selected square and
// the marks, all drawn from the game room's state. Presses and releases are
// handed to the game room in the picture's own twips.
class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(GameRoom& room, const DisplayScale& scale, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Maps the picture's own pixels (full size) to widget pixels.
    QTransform pictureTransform() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPointF toTwips(QPointF widgetPoint) const;

    GameRoom& room_;
    DisplayScale scale_;
};

} // namespace palisade
