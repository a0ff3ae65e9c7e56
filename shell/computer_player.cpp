#include "shell/computer_player.h"

#include "computer/clock_budget.h"
#include "computer/king_choice.h"
#include "computer/room_moves.h"
#include "gameroom/notation.h"
#include "render/board_view.h"
#include "shell/board_events.h"
#include "shell/hint_overlay.h"
#include "shell/labels.h"
#include "shell/players_dialog.h"
#include "shell/steady_layout.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <random>

namespace palisade {

namespace {

constexpr int kProgressSteps = 100;
constexpr int kProgressInterval = 50; // ms

} // namespace

ComputerPlayer::ComputerPlayer(GameRoom& room, ComputerAnswers& answers, BoardView& board, QWidget* panelParent)
    : room_(room), answers_(answers), board_(board), hint_(new HintOverlay(board)), progressTimer_(new QTimer(this)),
      pauseTimer_(new QTimer(this)), seed_(std::random_device{}())
{
    panel_ = buildPanel(panelParent);
    board_.installEventFilter(this);
    panel_->window()->installEventFilter(this);
    progressTimer_->setInterval(kProgressInterval);
    connect(progressTimer_, &QTimer::timeout, this, &ComputerPlayer::showProgress);
    pauseTimer_->setSingleShot(true);
    connect(pauseTimer_, &QTimer::timeout, this, &ComputerPlayer::pauseEnded);
    showIdle();
}

// The thread must be gone before the objects its report would reach.
ComputerPlayer::~ComputerPlayer() { search_.finish(); }

QWidget* ComputerPlayer::buildPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName("computerPanel");
    statusLabel_ = makeLabel(QString(), "computerStatus", panel);
    statusLabel_->setWordWrap(true);
    progress_ = new QProgressBar(panel);
    progress_->setObjectName("thinkingProgress");
    progress_->setRange(0, kProgressSteps);
    progress_->setTextVisible(false);
    stopButton_ = new QPushButton("Stop", panel);
    stopButton_->setObjectName("stopThinking");
    stopButton_->setToolTip("Play the best move found so far");
    connect(stopButton_, &QPushButton::clicked, this, &ComputerPlayer::stopThinking);
    moveNowButton_ = new QPushButton("Move Now", panel);
    moveNowButton_->setObjectName("moveNow");
    moveNowButton_->setToolTip("Let the computer play from the position shown");
    connect(moveNowButton_, &QPushButton::clicked, this, &ComputerPlayer::moveNow);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(stopButton_);
    buttons->addWidget(moveNowButton_);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(statusLabel_);
    column->addWidget(progress_);
    column->addLayout(buttons);
    // The panel holds its place, and so do its parts, whatever it shows: the
    // legend and the buttons around it never move.
    reserveLines(statusLabel_, 2);
    for (QWidget* part : std::initializer_list<QWidget*>{panel, progress_, stopButton_, moveNowButton_}) {
        keepPlaceWhenHidden(part);
    }
    return panel;
}

void ComputerPlayer::setPlayers(const Players& players)
{
    answers_.setPlayers(players);
    if (computersTask() && !computerToMove()) abandonSearch();
    considerMoving();
}

bool ComputerPlayer::newGameWithPlayers(TimeControl* control)
{
    TimeControl chosenControl = control ? *control : TimeControl{};
    const auto chosen = choosePlayers(panel_->window(), players(), control ? &chosenControl : nullptr);
    if (!chosen) return false;
    const Task before = task_;
    abandonSearch();
    room_.newGame();
    const bool started = room_.history().lastHalfMove() == 0 && room_.gameSaved();
    if (started) {
        if (control) *control = chosenControl;
        setPlayers(*chosen);
    } else if (before == Task::Move) {
        considerMoving();
    }
    return started;
}

void ComputerPlayer::keepPlayersBeside(const std::string& gameFileName)
{
    knownFile_ = gameFileName;
    if (!keepPlayers(gameFileName, players())) {
        QMessageBox::warning(panel_->window(), "Players",
                             "Who plays each side could not be written beside the game.");
    }
}

void ComputerPlayer::adoptPlayersOfFile()
{
    if (room_.fileName() == knownFile_) return;
    knownFile_ = room_.fileName();
    if (knownFile_.empty()) return;
    const KeptPlayers kept = readPlayers(knownFile_);
    answers_.setPlayers(kept.players);
    // The game file changed without them, or they are not ours: two people play.
    if (kept.state == KeptPlayers::State::NotThisGame) {
        QMessageBox::information(panel_->window(), "Players",
                                 "Who plays each side, kept beside this game, does not belong to it: "
                                 "two people play.");
    }
}

void ComputerPlayer::positionChanged()
{
    adoptPlayersOfFile();
    if (hint_->shown() && room_.position() != searched_) hint_->clear();
    if (task_ != Task::None && room_.position() != searched_) abandonSearch();
    pauseTimer_->stop();
    pauseOver_ = false;
    // Played once the game room has finished the click that changed it.
    QTimer::singleShot(0, this, &ComputerPlayer::considerMoving);
    if (task_ == Task::None) showIdle();
}

bool ComputerPlayer::computerToMove() const
{
    const auto side = sideToMove(room_.position().status);
    return side && players().of(*side).computer;
}

// The computer is busy with its own side: a move, or the king to save.
bool ComputerPlayer::computersTask() const { return task_ == Task::Move || task_ == Task::KingChoice; }

bool ComputerPlayer::atEndOfGame() const
{
    return room_.history().halfMoves() == room_.history().lastHalfMove();
}

void ComputerPlayer::considerMoving()
{
    if (computersTask() || answers_.screenWaiting()) return;
    if (room_.kingChoice() && computerToMove()) {
        chooseKing();
        return;
    }
    if (computerToMove() && (atEndOfGame() || moveNowAsked_)) {
        if (waitBeforeMoving()) return;
        if (task_ == Task::Hint) abandonSearch();
        hint_->clear();
        start(Task::Move, levelOf(players().of(*sideToMove(room_.position().status)).level));
        return;
    }
    if (task_ == Task::None) showIdle();
}

// Move Now does not wait, nor does the computer against a person.
bool ComputerPlayer::waitBeforeMoving()
{
    const bool bothSides = players().white.computer && players().black.computer;
    if (pauseOver_ || moveNowAsked_ || !bothSides || pause_.count() <= 0) return false;
    if (!pauseTimer_->isActive()) pauseTimer_->start(pause_);
    return true;
}

void ComputerPlayer::pauseEnded()
{
    // A question on the screen holds the game: look again shortly.
    if (answers_.screenWaiting()) {
        pauseTimer_->start(kProgressInterval);
        return;
    }
    pauseOver_ = true;
    considerMoving();
}

bool ComputerPlayer::pausing() const { return pauseTimer_->isActive(); }

// A task looks at the position on the board; its id tells its report from
// those of tasks abandoned before it.
int ComputerPlayer::beginTask(Task task, SearchLimits limits)
{
    searched_ = room_.position();
    limits_ = std::move(limits);
    started_ = std::chrono::steady_clock::now();
    task_ = task;
    progressTimer_->start();
    emit thinkingChanged(true);
    return ++searchId_;
}

void ComputerPlayer::start(Task task, const Level& level)
{
    SearchLimits limits = roomLimits(room_, level, seed_++);
    limits.threads = searchThreads_;
    const auto side = sideToMove(room_.position().status);
    // On its own running clock the computer thinks no longer than its time allows.
    if (task == Task::Move && clock_ && side && clock_->running() == side) {
        limits.maxTime = std::min(limits.maxTime, thinkingBudget(clock_->remaining(*side), clock_->control().increment));
    }
    const int id = beginTask(task, std::move(limits));
    search_.start(searched_, limits_, [this, id](const SearchReport& report) {
        QMetaObject::invokeMethod(this, [this, id, report] { searchDone(id, report); }, Qt::QueuedConnection);
    });
    showProgress();
}

void ComputerPlayer::searchDone(int id, const SearchReport& report)
{
    if (id != searchId_) return;
    // The game room is waiting on a question: play once it has been answered.
    if (answers_.screenWaiting()) {
        QTimer::singleShot(kProgressInterval, this, [this, id, report] { searchDone(id, report); });
        return;
    }
    const Task task = task_;
    finishTask();
    if (!report.best || room_.position() != searched_) {
        considerMoving();
        return;
    }
    if (task == Task::Hint) {
        hint_->showMove(*report.best);
        showIdle();
        return;
    }
    moveNowAsked_ = false;
    playComputerMove(room_, answers_, *report.best);
}

// The king to save is chosen off the window's thread, from the position the
// room shows while it waits, and answered only if the room still waits on it.
void ComputerPlayer::chooseKing()
{
    if (task_ == Task::Hint) abandonSearch();
    hint_->clear();
    const int id = beginTask(Task::KingChoice, SearchLimits{});
    search_.run([this, id, position = searched_, choice = *room_.kingChoice()](const std::atomic<bool>& stop) {
        const int square = kingToKeep(position, choice, stop);
        QMetaObject::invokeMethod(this, [this, id, square] { kingChosen(id, square); }, Qt::QueuedConnection);
    });
    showProgress();
}

void ComputerPlayer::kingChosen(int id, int square)
{
    if (id != searchId_) return;
    finishTask();
    if (room_.kingChoice() && room_.position() == searched_) room_.answerKingChoice(square);
}

void ComputerPlayer::finishTask()
{
    task_ = Task::None;
    progressTimer_->stop();
    showIdle();
    emit thinkingChanged(false);
}

void ComputerPlayer::abandonSearch()
{
    if (task_ == Task::None) return;
    ++searchId_;
    search_.stop();
    finishTask();
}

void ComputerPlayer::showHint()
{
    if (computersTask() || !sideToMove(room_.position().status)) return;
    abandonSearch();
    start(Task::Hint, levelOf(kDefaultLevel));
}

void ComputerPlayer::stopThinking()
{
    if (task_ != Task::None) search_.stop();
}

void ComputerPlayer::moveNow()
{
    moveNowAsked_ = true;
    considerMoving();
}

void ComputerPlayer::showProgress()
{
    const double elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started_).count();
    double done = 0.0;
    if (limits_.maxTime.count() > 0) done = elapsed / static_cast<double>(limits_.maxTime.count());
    if (limits_.maxNodes > 0) done = std::max(done, static_cast<double>(search_.nodes()) / limits_.maxNodes);
    progress_->setValue(static_cast<int>(std::min(1.0, done) * kProgressSteps));
    statusLabel_->setText(task_ == Task::Hint ? "Looking for a hint..." : "Computer is thinking...");
    progress_->show();
    stopButton_->show();
    moveNowButton_->hide();
    panel_->show();
}

void ComputerPlayer::showIdle()
{
    progress_->hide();
    stopButton_->hide();
    const bool waiting = computerToMove() && !atEndOfGame();
    moveNowButton_->setVisible(waiting);
    if (const auto hint = hint_->shown()) {
        statusLabel_->setText("Hint: " + QString::fromStdString(notationOf(searched_, *hint)));
    } else if (waiting) {
        statusLabel_->setText("The computer waits while you look back.");
    } else if (!sideToMove(room_.position().status)) {
        statusLabel_->clear(); // the result shows in the status
    } else if (players().anyComputer()) {
        statusLabel_->setText(computerToMove() ? "Computer to move" : "Your move");
    }
    panel_->setVisible(players().anyComputer() || hint_->shown());
}

// Clicks on the board, by mouse or keyboard, are the computer's while it
// thinks of its move; a window closed plays no more.
bool ComputerPlayer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == panel_->window() && event->type() == QEvent::Hide && !event->spontaneous()) {
        pauseTimer_->stop();
    }
    if (watched == &board_) {
        if (event->type() == QEvent::Resize && hint_->shown()) hint_->setGeometry(board_.rect());
        if (computersTask() && clicksTheBoard(*event)) return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace palisade
