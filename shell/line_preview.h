#pragma once

#include "engine/move.h"
#include "engine/piece.h"

#include <QWidget>

#include <vector>

namespace palisade {

class BoardView;

// Lies over the board and draws the first moves of a line as numbered
// arrows, White's light and Black's dark, without playing them. Clicks pass
// through it.
class LinePreview : public QWidget {
    Q_OBJECT
public:
    static constexpr int kArrowsShown = 4;

    explicit LinePreview(BoardView& board);

    // `moves` begin with a move of `firstMover`, the sides taking turns.
    void showLine(const std::vector<Move>& moves, Side firstMover);
    void clear();
    bool shown() const { return !moves_.empty(); }
    const std::vector<Move>& moves() const { return moves_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoardView& board_;
    std::vector<Move> moves_;
    Side firstMover_ = Side::White;
};

} // namespace palisade
