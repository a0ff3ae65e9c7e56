// The player's aids through the real window: highlights, checks, refused
// moves, the move list, the keyboard, the recovery file, exports and
// preferences. Settings and data go to a folder of the test's own.

#include "window_driving.h"
#include "render/board_geometry.h"
#include "shell/board_export.h"
#include "shell/computer_player.h"
#include "shell/forms.h"
#include "shell/preferences_dialog.h"
#include "shell/start_screen.h"

#include <QAction>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QListWidget>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

using namespace palisade;

namespace {

using Line = std::vector<std::pair<int, int>>;

// Ends with Black's king on 38 attacked by White's bishop on 100, two half-boards below.
const Line kCrossBoardCheck = {{1, 2}, {38, 37}, {32, 1}, {47, 38}, {1, 100}};

void play(GameRoomWindow& window, const Line& line)
{
    for (const auto& [from, to] : line) {
        clickSquare(window, from);
        clickSquare(window, to);
    }
}

// The colour the board shows in the middle of a square.
QColor colourAt(GameRoomWindow& window, int square)
{
    BoardView& board = window.boardView();
    const QImage picture = board.grab().toImage();
    const QPoint point =
        board.pictureTransform().map(board_geometry::squareCentre(square)).toPoint();
    return picture.pixelColor(point);
}

// Whether switching `option` off changes what the board shows on `square`.
bool optionShowsOn(GameRoomWindow& window, bool BoardOptions::*option, int square)
{
    BoardOptions options = window.boardView().options();
    const QColor shown = colourAt(window, square);
    options.*option = false;
    window.boardView().setOptions(options);
    const QColor plain = colourAt(window, square);
    options.*option = true;
    window.boardView().setOptions(options);
    return shown != plain;
}

QLabel* label(QWidget& window, const char* name) { return window.findChild<QLabel*>(name); }

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PlayerAidsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
    }

    void init() { QFile::remove(Forms().recoveryPath()); }

    void lastMoveAndCheckAreDrawnWhereTheyAre()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.isActiveWindow());
        play(window, kCrossBoardCheck);
        QVERIFY(label(window, "Label3")->isVisible());
        const BoardScene scene = sceneOf(window.room(), window.boardView().options());
        QCOMPARE(scene.attacks, (std::vector<Attack>{{100, 38, {100, 69, 38}}}));
        QVERIFY(optionShowsOn(window, &BoardOptions::checks, 38));  // the king
        QVERIFY(optionShowsOn(window, &BoardOptions::checks, 69));  // the half-board between
        QVERIFY(optionShowsOn(window, &BoardOptions::lastMove, 1)); // where the bishop came from

        // Taken back, the move before is highlighted and no check is marked.
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(window.room().lastMove(), (PlayedMove{47, 38, 0}));
        QVERIFY(optionShowsOn(window, &BoardOptions::lastMove, 47));
        QVERIFY(!optionShowsOn(window, &BoardOptions::checks, 69));
    }

    void refusedClicksSayWhyAndLeaveTheGameAlone()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.isActiveWindow());
        clickSquare(window, 8);
        const SavedGame before = window.room().savedGame();
        clickSquare(window, 43);
        QCOMPARE(label(window, "notice")->text(),
                 QString("The knight on 1b1 does not move to 2b4."));
        QVERIFY(window.room().position() == before.position && !window.room().isTarget(42));
        clickSquare(window, 8);
        QVERIFY(label(window, "notice")->text().isEmpty());
    }

    void theMoveListStepsAsTakeBackAndForwardDo()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.isActiveWindow());
        play(window, kCrossBoardCheck);
        GameRoom& room = window.room();
        auto* list = window.findChild<QListWidget*>("moveList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        const SavedGame clicked = room.savedGame();
        QVERIFY(list->item(1)->font().bold() && !list->item(4)->font().bold());

        room.forwardToEnd();
        for (int k = 0; k < 3; ++k) room.takeBack();
        QCOMPARE(room.savedGame(), clicked);

        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(room.halfMoves(), 5);
        QTest::keyClick(&window, Qt::Key_Left);
        QCOMPARE(room.halfMoves(), 4);
        QTest::keyClick(&window, Qt::Key_Home);
        QCOMPARE(room.halfMoves(), 0);
        QTest::keyClick(&window, Qt::Key_Right);
        QCOMPARE(room.halfMoves(), 1);
    }

    // The result and a king given up are told in the status line and in the
    // move list, never in a box; "DRAW!" and the win texts stay as they are.
    void theResultAndAGivenUpKingAreToldInTheNoticeAndTheMoveList()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.isActiveWindow());
        auto* list = window.findChild<QListWidget*>("moveList");
        auto lastRow = [list] { return list->item(list->count() - 1)->text(); };
        const QString repeated = "Draw: the same position after 4 and 8 half-moves";
        // Knights out and back twice: the 8th half-move repeats the 4th and the start.
        play(window, {{8, 42}, {15, 45}, {42, 8}, {45, 15}, {8, 42}, {15, 45}, {42, 8}, {45, 15}});
        QCOMPARE(label(window, "Label2")->text(), QString("DRAW!"));
        QCOMPARE(label(window, "notice")->text(), repeated);
        QCOMPARE(list->count(), 9);
        QCOMPARE(lastRow(), QString("½–½ ") + repeated);
        // A click on the result row stays where it is; a redraw keeps the notice.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(8)).center());
        QCOMPARE(window.room().halfMoves(), 8);
        clickSquare(window, 8);
        QCOMPARE(label(window, "notice")->text(), repeated);

        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); // Take Back
        QCOMPARE(list->count(), 8);
        QVERIFY(label(window, "notice")->text().isEmpty());
        QTest::keyClick(&window, Qt::Key_End);
        QCOMPARE(lastRow(), QString("½–½ ") + repeated);

        // The knight from 4 to 10 forks Black's two kings: mate, or under
        // "Destroy Both Kings!" one king given up.
        Position fork;
        for (const auto& [square, code] : {std::pair{4, kWhiteKnight}, {16, kBlackKing}, {25, kBlackKing},
                                           {110, kWhiteKing}, {118, kWhiteKing}}) {
            fork.squares[square] = code;
        }
        window.room().setUp(fork);
        play(window, {{4, 10}});
        QCOMPARE(label(window, "Label2")->text(), QString("White Wins!"));
        QCOMPARE(label(window, "notice")->text(), QString("Checkmate"));
        QCOMPARE(lastRow(), QString("1–0 Checkmate"));

        fork.winOption = 1;
        window.room().setUp(fork);
        answerNextMessageBox(QMessageBox::Yes); // "Save this king?": the one on 16
        play(window, {{4, 10}});
        const QString givenUp = "Black gave up the king on 1d2";
        QCOMPARE(label(window, "Label2")->text(), QString("Black to Move"));
        QCOMPARE(label(window, "notice")->text(), givenUp + ".");
        QCOMPARE(lastRow(), "1. 1a5 - N1b3 (" + givenUp + ")");
    }

    void theKeyboardAloneSelectsAndMoves()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(window.isActiveWindow());
        BoardView& board = window.boardView();
        board.setFocus();
        QTest::keyClick(&board, Qt::Key_Down); // shows the cursor on 0
        QVERIFY(board.cursorShown() && board.cursorSquare() == 0);
        QTest::keyClick(&board, Qt::Key_Down);
        QTest::keyClick(&board, Qt::Key_Return);
        QVERIFY(window.room().pieceSelected() && window.room().selectedSquare() == 8);
        // Down onto the next half-board; while the cursor shows, Left and Right are the board's.
        for (int row = 0; row < 4; ++row) QTest::keyClick(&board, Qt::Key_Down);
        QTest::keyClick(&board, Qt::Key_Right);
        QTest::keyClick(&board, Qt::Key_Right);
        QCOMPARE(board.cursorSquare(), 42);
        QTest::keyClick(&board, Qt::Key_Space);
        QCOMPARE(window.room().position().squares[42], kWhiteKnight);
    }

    void theRecoveryFileIsOfferedAfterACrashAndClearedBySaving()
    {
        const QString recovery = Forms().recoveryPath();
        {
            Forms forms;
            forms.showGameRoom();
            play(*forms.gameRoom(), {{41, 43}, {54, 52}});
            QVERIFY(QFile::exists(recovery));
        } // the program stops without a word: the game room never closes

        Forms forms;
        forms.showStartScreen();
        auto* resume = forms.startScreen().findChild<QPushButton*>("resumeGame");
        QVERIFY(resume->isVisible());
        resume->click();
        GameRoom& room = forms.gameRoom()->room();
        QVERIFY(room.halfMoves() == 2 && !room.gameSaved()
                && room.lastMove() == (PlayedMove{54, 52, 0}));

        QTemporaryDir folder;
        room.save(folder.filePath("kept.brd").toStdString());
        play(*forms.gameRoom(), {{43, 52}});
        QVERIFY(QFile::exists(recovery));
        forms.gameRoom()->findChild<QAction*>("save")->trigger();
        QVERIFY(room.gameSaved() && !QFile::exists(recovery));
    }

    void openSavedGameAsksBeforeAGameLeftUnsavedGoes()
    {
        QTemporaryDir folder;
        const QString saved = folder.filePath("saved.brd");
        {
            Forms forms;
            GameRoomWindow& window = enterGameRoom(forms);
            QVERIFY(window.room().save(saved.toStdString()));
            play(window, {{41, 43}});
        } // the program stops with a move unsaved
        const QString recovery = Forms().recoveryPath();
        const QByteArray kept = contentsOf(recovery);
        QVERIFY(!kept.isEmpty());
        const QDateTime written = QFileInfo(recovery).lastModified();

        Forms forms;
        forms.showStartScreen();
        auto* resume = forms.startScreen().findChild<QPushButton*>("resumeGame");
        QString asked;
        // "Open Saved Game" and a game named on the command line open it so.
        QTimer::singleShot(0, [&asked] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) qFatal("no question asked");
            asked = box->text();
            box->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(!forms.openSavedGame(saved));
        QVERIFY(!forms.gameRoom() && contentsOf(recovery) == kept && resume->isVisible());
        answerNextMessageBox(QMessageBox::Ok);
        QVERIFY(forms.openSavedGame(saved));
        QVERIFY2(asked.startsWith("Discard the unsaved game from "
                                  + QLocale().toString(written.date(), QLocale::LongFormat)),
                 qPrintable(asked));
        QVERIFY(forms.gameRoom() && forms.gameRoom()->room().halfMoves() == 0);
        QVERIFY(!QFile::exists(recovery) && !resume->isVisible());
    }

    void aDamagedRecoveryFileIsToldAndDiscarded()
    {
        Forms forms;
        QFile damaged(forms.recoveryPath());
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("not a game") > 0);
        damaged.close();
        forms.showStartScreen();
        auto* resume = forms.startScreen().findChild<QPushButton*>("resumeGame");
        answerNextMessageBox(QMessageBox::Ok);
        resume->click();
        QVERIFY(!forms.gameRoom() && !resume->isVisible() && !QFile::exists(forms.recoveryPath()));
    }

    void exportsWriteFilesTheirReadersAccept()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        play(window, kCrossBoardCheck);
        const BoardScene scene = sceneOf(window.room(), window.boardView().options());
        QTemporaryDir folder;
        const QString png = folder.filePath("board.png"), svg = folder.filePath("board.svg"),
                      pdf = folder.filePath("sheet.pdf");
        QVERIFY(!exportPng(png, scene) && !exportSvg(svg, scene));
        QVERIFY(!exportScoreSheet(pdf, scene, scoreSheetOf(window.room())));
        QVERIFY(!QImage(png).isNull());
        QVERIFY(QSvgRenderer(svg).isValid());
        QFile sheet(pdf);
        QVERIFY(sheet.open(QIODevice::ReadOnly) && sheet.read(5) == "%PDF-");
        QVERIFY(exportPng(folder.filePath("missing/board.png"), scene).has_value());
    }

    void preferencesAreChosenKeptAndApplied()
    {
        Preferences chosen;
        chosen.board.coordinates = false;
        PreferencesDialog dialog(chosen);
        dialog.findChild<QCheckBox*>("autosave")->setChecked(false);
        chosen.autosave = false;
        dialog.findChild<QDoubleSpinBox*>("computerPause")->setValue(0.0);
        chosen.computerPause = std::chrono::milliseconds(0);
        QCOMPARE(dialog.preferences(), chosen);
        savePreferences(chosen);
        QCOMPARE(loadPreferences(), chosen);

        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QVERIFY(!window.boardView().options().coordinates);
        play(window, {{41, 43}});
        QVERIFY(!QFile::exists(forms.recoveryPath()));
        // Without a pause the computer playing both sides thinks at once.
        window.computer().setPlayers({{true, 1}, {true, 1}});
        QVERIFY(window.computer().thinking() && !window.computer().pausing());
        savePreferences(Preferences{});
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(PlayerAidsTest)
#include "player_aids_test.moc"
