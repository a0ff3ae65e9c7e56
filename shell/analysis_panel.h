#pragma once

#include "computer/analysis.h"
#include "gameroom/game_room.h"
#include "shell/evaluation_bar.h"

#include <QDockWidget>
#include <QElapsedTimer>

#include <cstdint>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTimer;

namespace palisade {

class BoardView;
class ComputerPlayer;
class LinePreview;

// The analysis beside the game: for the position on the board, whether played
// or stepped back to, the evaluation, the depth and speed of the search, and
// the best three lines, each of which can be shown on the board. The search
// runs on a thread of its own while the panel is open, waits while the
// computer thinks, and is stopped when the panel closes. The window's thread
// only hands over positions and shows findings, and only those of the
// position it shows.
class AnalysisPanel : public QDockWidget {
    Q_OBJECT
public:
    AnalysisPanel(GameRoom& room, BoardView& board, ComputerPlayer& computer, QWidget* parent);
    ~AnalysisPanel() override;

    // "Analysis Panel" (F3), checked while the panel is open.
    QAction* panelAction() const { return panelAction_; }
    // The bar the window places beside the board; it shows while the panel is open.
    EvaluationBar* evaluationBar() const { return bar_; }

    // Called after every change the room shows; the analysis starts again when
    // the position is another.
    void roomChanged();
    // Threads searching together; the analysis starts again with them.
    void setSearchThreads(int threads);

    bool analysing() const { return analysis_.running(); }
    bool paused() const { return analysis_.paused(); }
    // The lines shown, best first.
    const std::vector<AnalysedLine>& lines() const { return lines_; }
    // The position whose findings are shown.
    const Position& analysedPosition() const { return analysed_.position; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What decides which position is analysed; the same again starts nothing.
    struct Shown {
        Position position;
        int halfMoves = 0;
        std::optional<KingChoice> kingChoice;

        friend bool operator==(const Shown&, const Shown&) = default;
    };

    QWidget* buildContents();
    void setOpen(bool open);
    void makeRoom(bool open);
    void analyseShown();
    void computerThinking(bool thinking);
    void findingsArrived(const AnalysisFindings& findings);
    void showEnding();
    void showFindings(const AnalysisFindings& findings);
    void showSearchTime();
    QString lineText(const AnalysedLine& line) const;
    void lineClicked(QListWidgetItem* item);
    void clearPreview();

    GameRoom& room_;
    BoardView& board_;
    ComputerPlayer& computer_;
    QAction* panelAction_ = nullptr;
    EvaluationBar* bar_ = nullptr;
    LinePreview* preview_ = nullptr;
    QLabel* scoreLabel_ = nullptr;
    QLabel* depthLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QListWidget* linesList_ = nullptr;
    QTimer* searchTimeTimer_ = nullptr;

    int widthAdded_ = 0;
    int searchThreads_ = 1;
    // Counts the positions handed over; findings of any other are dropped.
    std::uint64_t generation_ = 0;
    std::optional<Shown> shown_;
    AnalysisRequest analysed_;
    std::vector<AnalysedLine> lines_;
    // How long the position shown has been searched, since it came or the computer last thought.
    QElapsedTimer searchTime_;
    QString depthText_;
    ContinuousAnalysis analysis_;
};

} // namespace palisade
