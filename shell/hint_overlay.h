#pragma once

#include "engine/move.h"

#include <QWidget>

#include <optional>

namespace palisade {

class BoardView;

// Lies over the board and outlines a suggested move: the piece's square, the
// square it goes to, and a line between them. Clicks pass through it.
class HintOverlay : public QWidget {
    Q_OBJECT
public:
    explicit HintOverlay(BoardView& board);

    void showMove(Move move);
    void clear();
    std::optional<Move> shown() const { return move_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoardView& board_;
    std::optional<Move> move_;
};

} // namespace palisade
