// The analysis panel in the game room on a real X server: its lines legal and
// in notation, following the position shown, the preview that changes
// nothing, the pause while the computer thinks, a finished game, a prompt
// close, and a window thread that never waits on the search.

#include "../computer/random_positions.h"
#include "../gameroom/endings.h"
#include "window_driving.h"
#include "computer/players.h"
#include "computer/score_text.h"
#include "engine/apply.h"
#include "engine/targets.h"
#include "gameroom/notation.h"
#include "render/board_view.h"
#include "shell/analysis_panel.h"
#include "shell/computer_player.h"
#include "shell/evaluation_bar.h"
#include "shell/line_preview.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QtTest>

#include <ctime>
#include <set>

using namespace palisade;

namespace {

constexpr int kLongWait = 20000; // ms

AnalysisPanel& panelOf(GameRoomWindow& window) { return *window.findChild<AnalysisPanel*>("analysisPanel"); }

AnalysisPanel& openPanel(GameRoomWindow& window)
{
    QTest::keyClick(&window, Qt::Key_F3);
    return panelOf(window);
}

// The panel shows lines of the position on the board, as deep as asked.
bool showsLinesOfBoard(GameRoomWindow& window, std::size_t lines = 3)
{
    const AnalysisPanel& panel = panelOf(window);
    return panel.analysedPosition() == window.room().position() && panel.lines().size() >= lines;
}

void waitForLines(GameRoomWindow& window, std::size_t lines = 3)
{
    if (!QTest::qWaitFor([&] { return showsLinesOfBoard(window, lines); }, kLongWait)) {
        qFatal("the panel never showed lines of the position on the board");
    }
}

int depthShown(const AnalysisPanel& panel)
{
    const QString text = panel.findChild<QLabel*>("analysisDepth")->text();
    return text.section(' ', 1, 1).toInt();
}

// Every line shown plays through from the board: each move legal, each text its notation there.
void verifyLinesOfBoard(GameRoomWindow& window)
{
    const AnalysisPanel& panel = panelOf(window);
    const auto* list = panel.findChild<QListWidget*>("analysisLines");
    QCOMPARE(list->count(), static_cast<int>(panel.lines().size()));
    std::set<std::pair<int, int>> firstMoves;
    for (std::size_t k = 0; k < panel.lines().size(); ++k) {
        const AnalysedLine& line = panel.lines()[k];
        QVERIFY(!line.moves.empty());
        QCOMPARE(line.texts.size(), line.moves.size());
        Position position = window.room().position();
        for (std::size_t m = 0; m < line.moves.size(); ++m) {
            QVERIFY(isLegal(position, line.moves[m]));
            QCOMPARE(line.texts[m], notationOf(position, line.moves[m]));
            apply(position, line.moves[m]);
        }
        QVERIFY(list->item(static_cast<int>(k))->text().contains(QString::fromStdString(line.texts[0])));
        firstMoves.insert({line.moves[0].pick, line.moves[0].drop});
    }
    QCOMPARE(firstMoves.size(), panel.lines().size());
}

void playKnightOut(GameRoomWindow& window)
{
    clickSquare(window, 8);
    clickSquare(window, generateTargets(window.room().position(), 8).front().square);
}

// The processor time the calling thread has had.
double threadWorkMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void clickLine(const AnalysisPanel& panel, int row)
{
    auto* list = panel.findChild<QListWidget*>("analysisLines");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(row)).center());
}

} // namespace

class AnalysisPanelTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QFile::remove(Forms().recoveryPath()); }

    void f3OpensThePanelWithThreeLegalLinesInNotation()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        auto* action = window.findChild<QAction*>("analysisPanelAction");
        QVERIFY(action && action->isCheckable() && !action->isChecked());
        QCOMPARE(action->text(), QString("Analysis Panel"));
        QVERIFY(!panelOf(window).isVisible());
        QVERIFY(!window.findChild<EvaluationBar*>("evaluationBar")->isVisible());

        AnalysisPanel& panel = openPanel(window);
        QVERIFY(action->isChecked());
        QVERIFY(panel.isVisible());
        QVERIFY(window.findChild<EvaluationBar*>("evaluationBar")->isVisible());
        waitForLines(window);
        QTRY_VERIFY_WITH_TIMEOUT(depthShown(panel) >= 4, kLongWait);
        verifyLinesOfBoard(window);
        const QString score = panel.findChild<QLabel*>("analysisScore")->text();
        QCOMPARE(score.toStdString(), scoreText(panel.lines()[0].whiteScore));
        const double share = window.findChild<EvaluationBar*>("evaluationBar")->share();
        QCOMPARE(share, whiteShare(panel.lines()[0].whiteScore));
    }

    void itFollowsEveryStepThroughTheGame()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        openPanel(window);
        waitForLines(window);
        playKnightOut(window);
        QVERIFY(!showsLinesOfBoard(window)); // the old lines went with the old position
        waitForLines(window);
        verifyLinesOfBoard(window);
        clickSquare(window, 15); // a knight of Black
        clickSquare(window, generateTargets(window.room().position(), 15).front().square);
        QCOMPARE(window.room().halfMoves(), 2);

        const std::vector<std::function<void()>> steps = {
            [&] { window.room().takeBack(); },        [&] { window.room().takeBack(); },
            [&] { window.room().forward(); },         [&] { window.room().forwardToEnd(); },
            [&] { window.room().backToFirstMove(); }, [&] { window.room().goToHalfMove(2); },
            [&] { window.room().switchSides(); },
        };
        for (const auto& step : steps) {
            step();
            waitForLines(window);
            verifyLinesOfBoard(window);
        }
    }

    void closingStopsTheSearchAtOnce()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        AnalysisPanel& panel = openPanel(window);
        waitForLines(window);
        QTRY_VERIFY_WITH_TIMEOUT(depthShown(panel) >= 5, kLongWait);
        QVERIFY(panel.analysing());
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(&window, Qt::Key_F3);
        qInfo("closed at depth %d in %lld ms", depthShown(panel), clock.elapsed());
        QVERIFY2(clock.elapsed() < 50, qPrintable(QString("closing took %1 ms").arg(clock.elapsed())));
        QVERIFY(!panel.analysing());
        QVERIFY(!panel.isVisible());
        QVERIFY(!window.findChild<EvaluationBar*>("evaluationBar")->isVisible());

        // Opened again it analyses again; its own close button stops it too.
        QTest::keyClick(&window, Qt::Key_F3);
        waitForLines(window);
        QVERIFY(panel.analysing());
        clock.restart();
        panel.close();
        QVERIFY(clock.elapsed() < 50);
        QVERIFY(!panel.analysing());
        QVERIFY(!window.findChild<QAction*>("analysisPanelAction")->isChecked());
    }

    // Between ticks of a 5 ms timer, while the search runs and is handed new
    // positions (the steps themselves are left out), the window's thread never
    // works more than 20 ms on end. Its own working time is what is measured:
    // on a machine shared with other work the wall clock also counts the
    // time the thread waits for a processor, whatever it runs.
    void theWindowNeverWaitsOnTheSearch()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        openPanel(window);
        waitForLines(window, 1);
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0;
        double lastWork = threadWorkMs();
        qint64 longestGap = 0;
        double longestWork = 0.0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        connect(&tick, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - lastTick);
            longestWork = std::max(longestWork, threadWorkMs() - lastWork);
            lastTick = clock.elapsed();
            lastWork = threadWorkMs();
        });
        const auto analyseFor = [&](int ms) {
            lastTick = clock.elapsed();
            lastWork = threadWorkMs();
            tick.start(5);
            QTest::qWait(ms);
            tick.stop();
        };
        analyseFor(1500);
        playKnightOut(window);
        analyseFor(1500);
        window.room().takeBack();
        analyseFor(1500);
        qInfo("between 5 ms ticks: at most %.1f ms of work, %lld ms of wall clock", longestWork, longestGap);
        QVERIFY2(longestWork <= 20.0, qPrintable(QString("the window worked %1 ms on end").arg(longestWork)));
    }

    void aPreviewShowsALineAndChangesNothing()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        playKnightOut(window);
        AnalysisPanel& panel = openPanel(window);
        waitForLines(window);
        auto* preview = window.findChild<LinePreview*>("linePreview");
        const Position before = window.room().position();
        const SavedGame savedBefore = window.room().savedGame();

        clickLine(panel, 1);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->moves().front(), panel.lines()[1].moves.front());
        QCOMPARE(preview->geometry(), window.boardView().rect());
        QVERIFY(window.room().position() == before);
        QVERIFY(window.room().savedGame() == savedBefore);
        QVERIFY(!window.room().pieceSelected());

        // The same line again hides it; so does a click on the board, and a step through the game.
        clickLine(panel, 1);
        QVERIFY(!preview->isVisible());
        clickLine(panel, 0);
        QVERIFY(preview->isVisible());
        clickSquare(window, 127);
        QVERIFY(!preview->isVisible());
        clickLine(panel, 0);
        QVERIFY(preview->isVisible());
        window.room().takeBack();
        QVERIFY(!preview->isVisible());
        QCOMPARE(window.room().halfMoves(), 0);
    }

    void itWaitsWhileTheComputerThinks()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        AnalysisPanel& panel = openPanel(window);
        waitForLines(window);
        window.computer().setPlayers(Players{{false, kDefaultLevel}, {true, kLevelCount}});
        playKnightOut(window);
        QTRY_VERIFY(window.computer().thinking());
        QVERIFY(panel.paused());
        QCOMPARE(panel.findChild<QLabel*>("analysisStatus")->text(), QString("Waiting while the computer thinks"));
        // Nothing more is found on the computer's time.
        QTest::qWait(50);
        const QString depth = panel.findChild<QLabel*>("analysisDepth")->text();
        QTest::qWait(500);
        QCOMPARE(panel.findChild<QLabel*>("analysisDepth")->text(), depth);

        window.findChild<QPushButton*>("stopThinking")->click();
        QTRY_COMPARE_WITH_TIMEOUT(window.room().halfMoves(), 2, kLongWait);
        QVERIFY(!panel.paused());
        waitForLines(window);
        verifyLinesOfBoard(window);
    }

    void aFinishedGameShowsItsVerdict()
    {
        using namespace endings;
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.room().setUp(kOneEscape);
        AnalysisPanel& panel = openPanel(window);
        waitForLines(window, 1);
        QCOMPARE(panel.findChild<QLabel*>("analysisScore")->text(), QString("M1"));
        QCOMPARE(window.findChild<EvaluationBar*>("evaluationBar")->share(), 1.0);

        clickSquare(window, kOneEscapeGiveUp.from);
        clickSquare(window, kOneEscapeGiveUp.to);
        QCOMPARE(window.room().position().status, Status::WhiteWins);
        QTRY_COMPARE(panel.findChild<QLabel*>("analysisStatus")->text(), QString("Checkmate"));
        QCOMPARE(panel.findChild<QLabel*>("analysisScore")->text(), QString("1–0"));
        QVERIFY(panel.lines().empty());
        QCOMPARE(panel.findChild<QListWidget*>("analysisLines")->count(), 0);
        QTest::qWait(200);
        QVERIFY(panel.lines().empty());
    }
};

QTEST_MAIN(AnalysisPanelTest)
#include "analysis_panel_test.moc"
