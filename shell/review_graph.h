#pragma once

#include "computer/move_marks.h"

#include <QWidget>

#include <vector>

namespace palisade {

// The evaluations of a reviewed game as a graph: half-moves from left to
// right, White's advantage up and Black's down, up to ten pawns either way.
// The light area is White's share. Marked moves show as coloured points, the
// position on the board as an upright line; a click chooses a half-move.
class ReviewGraph : public QWidget {
    Q_OBJECT
public:
    explicit ReviewGraph(QWidget* parent = nullptr);

    void setReview(const std::vector<double>& evaluations, const std::vector<MoveMark>& marks);
    void setShown(int halfMove);
    const std::vector<double>& evaluations() const { return evaluations_; }

    // Where half-move k's point is drawn, in the widget's coordinates.
    QPointF pointOf(int halfMove) const;
    // The half-move drawn nearest across from x.
    int halfMoveAt(double x) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void halfMoveChosen(int halfMove);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF plotArea() const;
    double xOf(int halfMove) const;
    double yOf(double evaluation) const;

    std::vector<double> evaluations_;
    std::vector<MoveMark> marks_;
    int shown_ = 0;
};

} // namespace palisade
