#pragma once

#include <QWidget>

namespace palisade {

// A tall bar beside the board: White's share of the game from the bottom,
// Black's from the top, as the analysis judges the position.
class EvaluationBar : public QWidget {
    Q_OBJECT
public:
    explicit EvaluationBar(QWidget* parent = nullptr);

    // `share` from 0 (Black wins) through 0.5 (even) to 1 (White wins);
    // `text` is shown as the bar's tool tip.
    void showShare(double share, const QString& text);
    double share() const { return share_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double share_ = 0.5;
};

} // namespace palisade
