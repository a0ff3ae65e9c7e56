#include "shell/game_reviewer.h"

#include "computer/game_positions.h"
#include "computer/game_review.h"
#include "shell/review_graph.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QListWidgetItem>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace palisade {

namespace {

constexpr int kProgressInterval = 50; // ms
const QColor kMistakeText(176, 98, 0);
const QColor kBlunderText(192, 57, 43);

QString signedPawns(double pawns) { return (pawns > 0 ? "+" : "") + QString::number(pawns, 'f', 2); }

Side firstMoverOf(const std::vector<Position>& record)
{
    const auto side = record.empty() ? std::nullopt : sideToMove(record.front().status);
    return side.value_or(Side::White);
}

} // namespace

GameReviewer::GameReviewer(GameRoom& room, QWidget* panelParent)
    : room_(room), progressTimer_(new QTimer(this))
{
    panel_ = buildPanel(panelParent);
    panel_->window()->installEventFilter(this);
    progressTimer_->setInterval(kProgressInterval);
    connect(progressTimer_, &QTimer::timeout, this, &GameReviewer::showProgress);
    showState();
}

// The thread must be gone before the objects its report would reach.
GameReviewer::~GameReviewer() { worker_.finish(); }

QWidget* GameReviewer::buildPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName("reviewPanel");
    progressRow_ = new QWidget(panel);
    progress_ = new QProgressBar(progressRow_);
    progress_->setObjectName("reviewProgress");
    progress_->setFormat("Reviewing %v of %m");
    cancelButton_ = new QPushButton("Cancel", progressRow_);
    cancelButton_->setObjectName("reviewCancel");
    cancelButton_->setToolTip("Stop the review");
    connect(cancelButton_, &QPushButton::clicked, this, &GameReviewer::cancel);
    auto* row = new QHBoxLayout(progressRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(progress_, 1);
    row->addWidget(cancelButton_);

    graph_ = new ReviewGraph(panel);
    connect(graph_, &ReviewGraph::halfMoveChosen, this, [this](int halfMove) { room_.goToHalfMove(halfMove); });

    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(progressRow_);
    column->addWidget(graph_);
    return panel;
}

std::vector<Position> GameReviewer::recordNow() const
{
    // The win option is the rule of the game's end, not part of its record.
    std::vector<Position> record = gamePositions(room_, 0);
    for (Position& position : record) position.winOption = 0;
    return record;
}

void GameReviewer::startReview()
{
    if (room_.kingChoice()) {
        QMessageBox::information(panel_->window(), "Review Game", "Choose the king to save first.");
        return;
    }
    const std::vector<Position> record = recordNow();
    if (reviewing_ || (!evaluations_.empty() && record == reviewedRecord_)) return;
    drop();
    reviewedRecord_ = record;
    reviewing_ = true;
    const int id = ++reviewId_;
    std::vector<Position> positions = gamePositions(room_, room_.position().sidesSwitched);
    total_ = static_cast<int>(positions.size());
    judged_.store(0);
    worker_.run([this, id, positions = std::move(positions)](const std::atomic<bool>& stop) {
        std::vector<double> evaluations =
            reviewGame(positions, kReviewNodes, stop, [this](int judged, int) { judged_.store(judged); });
        if (evaluations.size() != positions.size()) return;
        QMetaObject::invokeMethod(
            this, [this, id, evaluations = std::move(evaluations)] { reviewDone(id, evaluations); },
            Qt::QueuedConnection);
    });
    progressTimer_->start();
    showState();
}

void GameReviewer::cancel()
{
    if (!reviewing_) return;
    ++reviewId_;
    worker_.finish();
    reviewing_ = false;
    reviewedRecord_.clear();
    progressTimer_->stop();
    showState();
}

void GameReviewer::reviewDone(int id, const std::vector<double>& evaluations)
{
    if (id != reviewId_) return;
    reviewing_ = false;
    progressTimer_->stop();
    show(evaluations);
    // A game already saved keeps its review at once.
    if (room_.gameSaved() && !room_.fileName().empty()) keepBeside(room_.fileName());
}

void GameReviewer::show(const std::vector<double>& evaluations)
{
    evaluations_ = evaluations;
    marks_ = markMoves(evaluations_, firstMoverOf(reviewedRecord_));
    graph_->setReview(evaluations_, marks_);
    graph_->setShown(room_.halfMoves());
    showState();
    emit marksChanged();
}

void GameReviewer::drop()
{
    cancel();
    const bool hadReview = !evaluations_.empty();
    reviewedRecord_.clear();
    evaluations_.clear();
    marks_.clear();
    graph_->setReview({}, {});
    showState();
    if (hadReview) emit marksChanged();
}

MoveMark GameReviewer::markOf(int halfMove) const
{
    if (halfMove < 0 || halfMove >= static_cast<int>(marks_.size())) return MoveMark::None;
    return marks_[static_cast<std::size_t>(halfMove)];
}

void GameReviewer::followGame()
{
    std::vector<Position> record = recordNow();
    if (record != followedRecord_) {
        followedRecord_ = std::move(record);
        if (followedRecord_ != reviewedRecord_) drop();
        // Another game, already saved: one just opened, whose review may be kept beside it.
        if (evaluations_.empty() && room_.gameSaved() && !room_.fileName().empty()) adoptReviewOfFile();
    }
    graph_->setShown(room_.halfMoves());
}

void GameReviewer::adoptReviewOfFile()
{
    const KeptReview kept = readReview(room_.fileName());
    if (kept.state == KeptReview::State::None) return;
    if (kept.state == KeptReview::State::Kept && kept.review.evaluations.size() == followedRecord_.size()) {
        reviewedRecord_ = followedRecord_;
        show(kept.review.evaluations);
        return;
    }
    QMessageBox::information(panel_->window(), "Review Game",
                             "The review kept beside this game does not belong to it: it is not shown.");
}

void GameReviewer::keepBeside(const std::string& gameFileName)
{
    std::optional<GameReview> review;
    if (!evaluations_.empty()) review = GameReview{kReviewNodes, evaluations_};
    if (!keepReview(gameFileName, review)) {
        QMessageBox::warning(panel_->window(), "Review Game", "The review could not be written beside the game.");
    }
}

void GameReviewer::markRow(QListWidgetItem* item, int halfMove, bool current) const
{
    const MoveMark mark = markOf(halfMove);
    QString text = item->text();
    if (mark != MoveMark::None) {
        // Right after the move's own notation, before anything said of it.
        const QString move = QString::fromStdString(room_.history().moveText(halfMove));
        const qsizetype at = text.indexOf(move);
        const std::string_view sign = markText(mark);
        text.insert(at < 0 ? text.size() : at + move.size(),
                    QString::fromUtf8(sign.data(), static_cast<qsizetype>(sign.size())));
        item->setText(text);
        if (!current) item->setForeground(mark == MoveMark::Blunder ? kBlunderText : kMistakeText);
    }
    if (halfMove < static_cast<int>(evaluations_.size())) {
        text += "   (" + signedPawns(evaluations_[static_cast<std::size_t>(halfMove)]) + " for White)";
    }
    item->setToolTip(text);
}

void GameReviewer::showProgress()
{
    progress_->setRange(0, total_);
    progress_->setValue(judged_.load());
}

void GameReviewer::showState()
{
    if (reviewing_) showProgress();
    progressRow_->setVisible(reviewing_);
    graph_->setVisible(!evaluations_.empty());
    panel_->setVisible(reviewing_ || !evaluations_.empty());
}

// Closing the window ends the review with it.
bool GameReviewer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panel_->window() && event->type() == QEvent::Hide && !event->spontaneous()) cancel();
    return QObject::eventFilter(watched, event);
}

} // namespace palisade
