#include "shell/analysis_panel.h"

#include "computer/score_text.h"
#include "gameroom/result_text.h"
#include "render/board_view.h"
#include "shell/computer_player.h"
#include "shell/evaluation_bar.h"
#include "shell/labels.h"
#include "shell/line_preview.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace palisade {

namespace {

// Moves of a line written out; the rest are cut.
constexpr int kMovesWritten = 8;
constexpr int kPanelWidth = 300;
constexpr int kSearchTimeInterval = 1000; // ms

QString speedText(double nodesPerSecond)
{
    if (nodesPerSecond >= 1e6) return QString::number(nodesPerSecond / 1e6, 'f', 2) + "M";
    if (nodesPerSecond >= 1e3) return QString::number(nodesPerSecond / 1e3, 'f', 0) + "k";
    return QString::number(nodesPerSecond, 'f', 0);
}

// The score of a finished game, and how much of the bar is White's.
std::pair<QString, double> resultScore(Status status)
{
    if (status == Status::WhiteWins) return {"1–0", 1.0};
    if (status == Status::BlackWins) return {"0–1", 0.0};
    return {"½–½", 0.5};
}

bool clicksASquare(const QEvent& event)
{
    if (event.type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent&>(event).key();
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    return event.type() == QEvent::MouseButtonPress;
}

QFont scaledFont(QFont font, double factor)
{
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setBold(true);
    return font;
}

} // namespace

AnalysisPanel::AnalysisPanel(GameRoom& room, BoardView& board, ComputerPlayer& computer, QWidget* parent)
    : QDockWidget("Analysis", parent), room_(room), board_(board), computer_(computer),
      bar_(new EvaluationBar(parent)), preview_(new LinePreview(board)),
      analysis_([this](const AnalysisFindings& findings) {
          QMetaObject::invokeMethod(this, [this, findings] { findingsArrived(findings); }, Qt::QueuedConnection);
      })
{
    setObjectName("analysisPanel");
    setFeatures(QDockWidget::DockWidgetClosable);
    setAllowedAreas(Qt::RightDockWidgetArea);
    setWidget(buildContents());
    hide();
    bar_->hide();

    panelAction_ = new QAction("Analysis Panel", this);
    panelAction_->setObjectName("analysisPanelAction");
    panelAction_->setShortcut(QKeySequence(Qt::Key_F3));
    panelAction_->setCheckable(true);
    connect(panelAction_, &QAction::toggled, this, &AnalysisPanel::setOpen);
    connect(&computer_, &ComputerPlayer::thinkingChanged, this, &AnalysisPanel::computerThinking);
    searchTimeTimer_ = new QTimer(this);
    searchTimeTimer_->setInterval(kSearchTimeInterval);
    connect(searchTimeTimer_, &QTimer::timeout, this, &AnalysisPanel::showSearchTime);
    board_.installEventFilter(this);
}

// The thread goes before anything its findings would reach.
AnalysisPanel::~AnalysisPanel() { analysis_.stop(); }

QWidget* AnalysisPanel::buildContents()
{
    auto* contents = new QWidget(this);
    scoreLabel_ = makeLabel(QString(), "analysisScore", contents);
    scoreLabel_->setFont(scaledFont(scoreLabel_->font(), 1.6));
    depthLabel_ = makeLabel(QString(), "analysisDepth", contents);
    statusLabel_ = makeLabel(QString(), "analysisStatus", contents);
    statusLabel_->setWordWrap(true);
    linesList_ = new QListWidget(contents);
    linesList_->setObjectName("analysisLines");
    linesList_->setFocusPolicy(Qt::NoFocus);
    linesList_->setWordWrap(true);
    linesList_->setSpacing(3);
    linesList_->setAlternatingRowColors(true);
    linesList_->setCursor(Qt::PointingHandCursor);
    linesList_->setToolTip("Click a line to see its first moves on the board; click again to hide them");
    connect(linesList_, &QListWidget::itemClicked, this, &AnalysisPanel::lineClicked);

    auto* column = new QVBoxLayout(contents);
    column->addWidget(scoreLabel_);
    column->addWidget(depthLabel_);
    column->addWidget(statusLabel_);
    column->addWidget(linesList_, 1);
    contents->setMinimumWidth(kPanelWidth);
    return contents;
}

void AnalysisPanel::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    panelAction_->setChecked(false);
}

void AnalysisPanel::setOpen(bool open)
{
    setVisible(open);
    bar_->setVisible(open);
    makeRoom(open);
    if (!open) {
        searchTimeTimer_->stop();
        analysis_.stop();
        ++generation_;
        shown_.reset();
        clearPreview();
        return;
    }
    computerThinking(computer_.thinking());
    roomChanged();
    searchTimeTimer_->start();
}

// The window grows by the panel's width when it opens, as far as the screen
// allows, so the board keeps its size; it gives the width back on closing.
void AnalysisPanel::makeRoom(bool open)
{
    QWidget* window = parentWidget()->window();
    if (window->isMaximized() || window->isFullScreen()) return;
    if (!open) {
        window->resize(window->width() - widthAdded_, window->height());
        widthAdded_ = 0;
        return;
    }
    const QScreen* screen = window->screen();
    const int room = screen ? screen->availableGeometry().right() - window->frameGeometry().right() : 0;
    widthAdded_ = std::clamp(sizeHint().width(), 0, std::max(0, room));
    window->resize(window->width() + widthAdded_, window->height());
}

void AnalysisPanel::setSearchThreads(int threads)
{
    if (threads == searchThreads_) return;
    searchThreads_ = threads;
    shown_.reset();
    roomChanged();
}

void AnalysisPanel::roomChanged()
{
    if (!panelAction_->isChecked()) return;
    const Shown now{room_.position(), room_.halfMoves(), room_.kingChoice()};
    if (shown_ == now) return;
    shown_ = now;
    analyseShown();
}

void AnalysisPanel::analyseShown()
{
    clearPreview();
    lines_.clear();
    linesList_->clear();
    depthLabel_->clear();
    depthText_.clear();
    searchTime_.start();
    analysed_ = analysisRequestOf(room_, searchThreads_, ++generation_);
    analysis_.analyse(analysed_);
    if (!sideToMove(room_.position().status)) {
        showEnding();
        return;
    }
    scoreLabel_->setText("…");
    if (analysis_.paused()) {
        statusLabel_->setText("Waiting while the computer thinks");
    } else {
        statusLabel_->setText(room_.kingChoice() ? "Thinking, the king offered kept..." : "Thinking...");
    }
}

void AnalysisPanel::computerThinking(bool thinking)
{
    if (thinking) {
        analysis_.pause();
        if (panelAction_->isChecked()) statusLabel_->setText("Waiting while the computer thinks");
        return;
    }
    analysis_.resume();
    searchTime_.start();
    if (panelAction_->isChecked() && sideToMove(room_.position().status) && lines_.empty()) {
        statusLabel_->setText("Thinking...");
    } else if (panelAction_->isChecked() && sideToMove(room_.position().status)) {
        statusLabel_->clear();
    }
}

void AnalysisPanel::findingsArrived(const AnalysisFindings& findings)
{
    if (findings.generation != generation_ || findings.lines.empty()) return;
    showFindings(findings);
}

// A finished game is judged as the game judged it.
void AnalysisPanel::showEnding()
{
    const auto result = room_.result();
    const Status status = result ? result->status : room_.position().status;
    const auto [score, share] = resultScore(status);
    scoreLabel_->setText(score);
    bar_->showShare(share, score);
    const std::string notice = result ? resultNotice(*result) : std::string();
    statusLabel_->setText(QString::fromStdString(notice.empty() ? std::string(statusText(status)) : notice));
}

void AnalysisPanel::showFindings(const AnalysisFindings& findings)
{
    lines_ = findings.lines;
    const int best = lines_.front().whiteScore;
    const QString score = QString::fromStdString(scoreText(best));
    scoreLabel_->setText(score);
    bar_->showShare(whiteShare(best), score);
    depthText_ = QString("Depth %1 · %2 nodes/s").arg(findings.depth).arg(speedText(findings.nodesPerSecond));
    showSearchTime();
    if (!analysis_.paused()) statusLabel_->setText(room_.kingChoice() ? "The king offered, kept" : QString());
    while (linesList_->count() > std::ssize(lines_)) delete linesList_->takeItem(linesList_->count() - 1);
    while (linesList_->count() < std::ssize(lines_)) linesList_->addItem(QString());
    for (int k = 0; k < linesList_->count(); ++k) {
        QListWidgetItem* item = linesList_->item(k);
        item->setText(lineText(lines_[static_cast<std::size_t>(k)]));
        item->setData(Qt::UserRole, k);
    }
}

// The depth finished, and how long the search has been going on, while it goes on.
void AnalysisPanel::showSearchTime()
{
    if (depthText_.isEmpty()) return;
    const bool searching = analysis_.searching() && sideToMove(analysed_.position.status);
    const qint64 seconds = searchTime_.isValid() ? searchTime_.elapsed() / 1000 : 0;
    depthLabel_->setText(searching ? depthText_ + QString(" · %1 s").arg(seconds) : depthText_);
}

// "+0.35  12. 2b2 - 2b4  12... 3c7 - 3c5 ...", numbered on from the move on the board.
QString AnalysisPanel::lineText(const AnalysedLine& line) const
{
    QString text = QString::fromStdString(scoreText(line.whiteScore)) + " ";
    const bool whiteFirst = sideToMove(analysed_.position.status) == Side::White;
    const int firstNumber = analysed_.limits.halfMoves / 2 + 1;
    const int written = std::min<int>(kMovesWritten, static_cast<int>(line.texts.size()));
    for (int k = 0; k < written; ++k) {
        const bool white = (k % 2 == 0) == whiteFirst;
        const int number = firstNumber + (k + (whiteFirst ? 0 : 1)) / 2;
        if (white) text += QString(" %1. ").arg(number);
        else if (k == 0) text += QString(" %1... ").arg(number);
        else text += " ";
        text += QString::fromStdString(line.texts[static_cast<std::size_t>(k)]);
    }
    if (std::ssize(line.texts) > written) text += " …";
    return text;
}

// A click shows the line's first moves on the board; a second click on it hides them.
void AnalysisPanel::lineClicked(QListWidgetItem* item)
{
    const int k = item->data(Qt::UserRole).toInt();
    if (k < 0 || k >= std::ssize(lines_)) return;
    const std::vector<Move>& moves = lines_[static_cast<std::size_t>(k)].moves;
    const auto side = sideToMove(analysed_.position.status);
    const bool sameLine = preview_->shown()
                          && std::equal(preview_->moves().begin(), preview_->moves().end(), moves.begin(),
                                        moves.begin() + std::min(moves.size(), preview_->moves().size()));
    if (sameLine || !side) {
        clearPreview();
        return;
    }
    preview_->showLine(moves, *side);
}

void AnalysisPanel::clearPreview()
{
    preview_->clear();
    linesList_->clearSelection();
}

// A press or a key that clicks a square ends the preview; the click itself goes
// on to the board.
bool AnalysisPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &board_) {
        if (clicksASquare(*event)) clearPreview();
        if (event->type() == QEvent::Resize && preview_->shown()) preview_->setGeometry(board_.rect());
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace palisade
