// The game as text through the game room's menu: exported to a file and
// imported again, copied and pasted, and a bad text refused with the open
// game left as it was.

#include "window_driving.h"
#include "shell/game_text_actions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QTemporaryDir>

using namespace palisade;

namespace {

// Answers the message boxes the next step opens, one after the other, and
// keeps their texts.
void answerBoxes(QList<QMessageBox::StandardButton> answers, QStringList* texts, int triesLeft = 100)
{
    QTimer::singleShot(10, [answers, texts, triesLeft]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (triesLeft == 0) qFatal("no message box open");
            answerBoxes(answers, texts, triesLeft - 1);
            return;
        }
        texts->append(box->text());
        const auto answer = answers.takeFirst();
        if (!answers.isEmpty()) answerBoxes(answers, texts);
        box->button(answer)->click();
    });
}

// 1. 2b2 - 2b4  3c7 - 3c5  2. 2b4 - bx... played by clicks on the board.
void playOpening(GameRoomWindow& window)
{
    for (const int square : {41, 43, 86, 84, 33, 35}) clickSquare(window, square);
}

QStringList moveListRows(GameRoomWindow& window)
{
    QStringList rows;
    auto* list = window.findChild<QListWidget*>("moveList");
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
    return rows;
}

} // namespace

class GameTextWindowTest : public QObject {
    Q_OBJECT

private slots:
    void exportedGameComesBackThroughImport()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("game.txt");
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        window.gameText().setPathChooser([&](bool) { return path; });
        playOpening(window);
        QCOMPARE(window.room().halfMoves(), 3);
        const Position played = window.room().position();
        const QStringList rows = moveListRows(window);

        window.findChild<QAction*>("exportGameText")->trigger();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY2(text.contains("1. 2b2 - 2b4  3c7 - 3c5\n2. 2a2 - 2a4\n"), qPrintable(text));

        // A fresh game, then the text imported into it.
        QStringList texts;
        answerBoxes({QMessageBox::Ok}, &texts);
        window.findChild<QAction*>("refreshgame")->trigger();
        QCOMPARE(window.room().halfMoves(), 0);
        window.findChild<QAction*>("importGameText")->trigger();
        QCOMPARE(window.room().position(), played);
        QCOMPARE(window.room().halfMoves(), 3);
        QCOMPARE(moveListRows(window), rows);
        QVERIFY(!window.room().gameSaved());
    }

    void copiedGameIsPastedOverAnother()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        playOpening(window);
        const Position played = window.room().position();
        window.findChild<QAction*>("copyGame")->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().contains("[Result \"*\"]"));

        // One more move, then back to the copied game: the unsaved move is asked about.
        clickSquare(window, 78);
        clickSquare(window, 76);
        QCOMPARE(window.room().halfMoves(), 4);
        QStringList texts;
        answerBoxes({QMessageBox::Cancel}, &texts);
        window.findChild<QAction*>("pasteGame")->trigger();
        QCOMPARE(window.room().halfMoves(), 4);
        answerBoxes({QMessageBox::Ok}, &texts);
        window.findChild<QAction*>("pasteGame")->trigger();
        QCOMPARE(window.room().position(), played);
        QCOMPARE(texts, QStringList({"Exit without saving?", "Exit without saving?"}));
        QVERIFY(moveListRows(window).join(' ').contains("2a2 - 2a4"));
    }

    void aBadTextLeavesTheOpenGameAsItWas()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        playOpening(window);
        const SavedGame before = window.room().savedGame();
        QGuiApplication::clipboard()->setText("1. 2b2 - 2b4  3c7 - 3c5\n2. 2b4 - 2b9\n");
        QStringList texts;
        answerBoxes({QMessageBox::Ok, QMessageBox::Ok}, &texts);
        window.findChild<QAction*>("pasteGame")->trigger();
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts.at(1), QString("The game text cannot be imported. Move 2 (2b4 - 2b9) cannot be played: "
                                      "no piece of the side to move can make it."));
        QVERIFY(window.room().savedGame() == before);
        QVERIFY(!window.room().gameSaved());
    }

    void theKeysAreTheMenuItems()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        const std::pair<const char*, const char*> items[] = {
            {"exportGameText", "Ctrl+Shift+E"}, {"copyGame", "Ctrl+Shift+C"},
            {"importGameText", "Ctrl+Shift+I"}, {"pasteGame", "Ctrl+Shift+V"}};
        for (const auto& [name, key] : items) {
            auto* action = window.findChild<QAction*>(name);
            QVERIFY(action);
            QCOMPARE(action->shortcut(), QKeySequence(key));
        }
    }
};

QTEST_MAIN(GameTextWindowTest)
#include "game_text_window_test.moc"
