#include "shell/clock_panel.h"

#include "computer/computer_answers.h"
#include "gameroom/clock_file.h"
#include "gameroom/game_room.h"
#include "shell/labels.h"
#include "shell/steady_layout.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <filesystem>

namespace palisade {

namespace {

constexpr std::size_t indexOf(Side side) { return side == Side::White ? 0 : 1; }

QLabel* makeFace(const char* name, QWidget* parent)
{
    QLabel* face = makeLabel("0:00", name, parent);
    QFont font = face->font();
    font.setPointSizeF(font.pointSizeF() * 2.2);
    font.setBold(true);
    font.setStyleHint(QFont::Monospace);
    font.setFamily("Monospace");
    face->setFont(font);
    face->setAlignment(Qt::AlignCenter);
    face->setMargin(4);
    face->setMinimumWidth(face->fontMetrics().horizontalAdvance("00:00.0") + 12);
    return face;
}

} // namespace

ClockPanel::ClockPanel(GameRoom& room, const ComputerAnswers& answers, QWidget* parent)
    : QWidget(parent), room_(room), answers_(answers), clock_(steady_), follower_(clock_), timer_(new QTimer(this))
{
    setObjectName("clockPanel");
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    faces_ = {makeFace("whiteClock", this), makeFace("blackClock", this)};
    auto* whiteName = makeLabel("White", "whiteClockName", this);
    auto* blackName = makeLabel("Black", "blackClockName", this);
    pausedLabel_ = makeLabel("Clock paused", "clockPaused", this);
    keepPlaceWhenHidden(pausedLabel_);
    for (QLabel* name : {whiteName, blackName, pausedLabel_}) name->setAlignment(Qt::AlignCenter);
    grid->addWidget(whiteName, 0, 0);
    grid->addWidget(blackName, 0, 1);
    grid->addWidget(faces_[0], 1, 0);
    grid->addWidget(faces_[1], 1, 1);
    grid->addWidget(pausedLabel_, 2, 0, 1, 2);
    timer_->setInterval(kClockRedrawMs);
    connect(timer_, &QTimer::timeout, this, &ClockPanel::tick);
    timer_->start();
    showTimes();
}

void ClockPanel::follow()
{
    const bool mayPause = this->mayPause();
    const bool paused = clock_.paused();
    adoptClockOfFile();
    follower_.follow(room_);
    showTimes();
    if (mayPause != this->mayPause() || paused != clock_.paused()) emit pauseChanged();
}

void ClockPanel::startGame(const TimeControl& control)
{
    clock_.setControl(inUse_ ? control : TimeControl{});
    follower_.follow(room_);
    lowTimeTold_.fill(false);
    showTimes();
    emit pauseChanged();
}

void ClockPanel::togglePause()
{
    if (!mayPause()) return;
    if (clock_.paused()) {
        clock_.resume();
    } else {
        clock_.pause();
    }
    showTimes();
    emit pauseChanged();
}

QString ClockPanel::pauseActionText() const { return clock_.paused() ? "Resume Clock" : "Pause Clock"; }

void ClockPanel::setInUse(bool inUse)
{
    if (inUse == inUse_) return;
    inUse_ = inUse;
    if (!inUse_) startGame({});
    showTimes();
}

bool ClockPanel::keepBeside(const std::string& gameFileName)
{
    knownFile_ = gameFileName;
    return keepClock(gameFileName, clock_.state());
}

// Written whenever the recovery file is: after a move, once no king choice waits.
void ClockPanel::keepSafeBeside(const std::string& recoveryPath)
{
    if (recoveryPath.empty() || room_.gameSaved() || room_.kingChoice() || room_.movesPlayed() == movesKeptSafe_) {
        return;
    }
    movesKeptSafe_ = room_.movesPlayed();
    if (std::filesystem::exists(recoveryPath)) {
        keepClock(recoveryPath, clock_.state());
    } else {
        removeClock(recoveryPath);
    }
}

void ClockPanel::resumeRecovered(const std::string& recoveryPath)
{
    adopt(recoveryPath);
    follow();
}

// A game opened from a file brings its own clock, or none.
void ClockPanel::adoptClockOfFile()
{
    if (room_.fileName() == knownFile_) return;
    knownFile_ = room_.fileName();
    if (!knownFile_.empty()) adopt(knownFile_);
}

void ClockPanel::adopt(const std::string& gameFileName)
{
    const KeptClock kept = readClock(gameFileName);
    clock_.setControl({});
    lowTimeTold_.fill(false);
    if (kept.state == KeptClock::State::Kept && inUse_) clock_.restore(kept.clock);
    showTimes();
    emit pauseChanged();
    if (kept.state == KeptClock::State::NotThisGame) {
        QMessageBox::information(window(), "Chess Clock",
                                 "The chess clock kept beside this game does not belong to it: "
                                 "the game goes on without a clock.");
    }
}

void ClockPanel::tick()
{
    judgeFlag();
    showTimes();
}

// Between clicks only: a question or dialog on the screen holds the game.
void ClockPanel::judgeFlag()
{
    if (!inUse_ || answers_.screenWaiting() || QApplication::activeModalWidget() != nullptr) return;
    if (const auto side = follower_.flagToJudge(room_)) room_.flagFall(*side);
}

void ClockPanel::showTimes()
{
    setVisible(inUse_ && clock_.timed());
    if (!isVisibleTo(parentWidget())) return;
    showSide(Side::White);
    showSide(Side::Black);
    pausedLabel_->setVisible(clock_.paused());
}

void ClockPanel::showSide(Side side)
{
    QLabel* face = faces_[indexOf(side)];
    const auto left = clock_.remaining(side);
    face->setText(QString::fromStdString(clockFaceText(left)));
    const bool low = clock_.started() && left < clock_.lowTimeMark();
    const bool running = clock_.running() == side;
    const QString colour = low ? "#c0392b" : running ? "#1a1a1a" : "palette(window-text)";
    const QString lit = running ? "background: #fff2b3; border: 2px solid #b8860b; border-radius: 6px;"
                                : "border: 2px solid transparent;";
    face->setStyleSheet("color: " + colour + "; " + lit);
    if (low) {
        signalLowTime(side);
    } else {
        lowTimeTold_[indexOf(side)] = false;
    }
}

void ClockPanel::signalLowTime(Side side)
{
    bool& told = lowTimeTold_[indexOf(side)];
    if (told) return;
    told = true;
    emit lowTime(side == Side::White);
}

} // namespace palisade
