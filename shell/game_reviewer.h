#pragma once

#include "computer/background_search.h"
#include "computer/move_marks.h"
#include "computer/review_file.h"
#include "gameroom/game_room.h"

#include <QObject>

#include <atomic>
#include <string>
#include <vector>

class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;

namespace palisade {

class ReviewGraph;

// "Review Game": every position of the game judged on a thread of its own, a
// graph of the evaluations under the move list, and the moves that cost
// their mover marked in it. The review belongs to the game it judged: a new
// move or a new line drops it; it is kept beside the saved game and shown
// again when the game is opened.
class GameReviewer : public QObject {
    Q_OBJECT
public:
    GameReviewer(GameRoom& room, QWidget* panelParent);
    ~GameReviewer() override;

    // The progress bar with Cancel while reviewing, and the graph.
    QWidget* panel() const { return panel_; }

    void startReview();
    // Stops the review at once; its thread has ended when this returns.
    void cancel();
    bool reviewing() const { return reviewing_; }
    // The evaluations of the finished review of the game on the board; empty when none.
    const std::vector<double>& evaluations() const { return evaluations_; }
    MoveMark markOf(int halfMove) const;

    // Called after every change of the game room's status: drops the review
    // of a game that changed, takes up the one kept beside a game just
    // opened, and follows the position shown.
    void followGame();
    // Adds the move's mark, its colour and its evaluation to a row of the move list.
    void markRow(QListWidgetItem* item, int halfMove, bool current) const;
    // The game has just been saved under that name: its review goes beside it.
    void keepBeside(const std::string& gameFileName);

signals:
    // A review finished, or was dropped: the move list shows its marks again.
    void marksChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildPanel(QWidget* parent);
    std::vector<Position> recordNow() const;
    void reviewDone(int id, const std::vector<double>& evaluations);
    void show(const std::vector<double>& evaluations);
    void drop();
    void adoptReviewOfFile();
    void showProgress();
    void showState();

    GameRoom& room_;
    QWidget* panel_ = nullptr;
    QWidget* progressRow_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    ReviewGraph* graph_ = nullptr;
    QTimer* progressTimer_ = nullptr;

    // The game judged, in one orientation: a review belongs to it alone.
    std::vector<Position> reviewedRecord_;
    // The game as the room last showed it.
    std::vector<Position> followedRecord_;
    std::vector<double> evaluations_;
    std::vector<MoveMark> marks_;
    bool reviewing_ = false;
    int reviewId_ = 0;
    std::atomic<int> judged_{0};
    int total_ = 0;
    // Last: its thread ends before anything it reports to.
    BackgroundSearch worker_;
};

} // namespace palisade
