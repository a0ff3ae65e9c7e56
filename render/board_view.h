#pragma once

#include "gameroom/display_scale.h"
#include "render/board_scene.h"

#include <QTransform>
#include <QWidget>

#include <optional>

namespace palisade {

class GameRoom;

// The board picture: the four half-boards, the pieces, the selected square,
// the marks and the player's aids, all drawn from the game room's state.
// Presses and releases are handed to the game room in the picture's own
// twips; the arrow keys walk a square cursor and Enter or Space clicks it.
class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(GameRoom& room, const DisplayScale& scale, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Maps the picture's own pixels (full size) to widget pixels.
    QTransform pictureTransform() const;

    const BoardOptions& options() const { return options_; }
    void setOptions(const BoardOptions& options);

    int cursorSquare() const { return cursor_; }
    bool cursorShown() const { return cursorShown_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QPointF toTwips(QPointF widgetPoint) const;
    std::optional<int> pieceAt(QPointF widgetPoint) const;
    // The square a release at this widget point goes to: the piece whose
    // picture is there, else the first click cell under it.
    std::optional<int> squareAt(QPointF widgetPoint) const;
    std::optional<DraggedPiece> draggedPiece() const;
    void showCursorAt(int square);
    bool claimsKey(const QKeyEvent& key) const;

    GameRoom& room_;
    DisplayScale scale_;
    BoardOptions options_;
    int cursor_ = 0;
    bool cursorShown_ = false;
    // Where the left button went down, and where the pointer is while it is held.
    std::optional<QPointF> pressPoint_;
    QPointF pointer_;
};

} // namespace palisade
