// Two game room windows playing one game across a connection: real clicks on
// the real boards, through each room's controller and its remote session.
#include "window_driving.h"

#include "engine/targets.h"
#include "network/join_code.h"
#include "remote/remote_store.h"
#include "shell/clock_panel.h"
#include "shell/home_network_dialogs.h"
#include "shell/offer_bar.h"
#include "shell/remote_carrier.h"
#include "shell/remote_games_dialog.h"
#include "shell/remote_room.h"
#include "shell/remote_settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

using namespace palisade;

namespace {

// Half of a connection that hands each message over on a later turn of the
// event loop, as a socket does.
class PassingCarrier : public RemoteCarrier {
    Q_OBJECT
public:
    void send(const std::string& message) override
    {
        if (record) record->push_back(message);
        QTimer::singleShot(0, this, [other = other, message] {
            if (other) emit other->received(message);
        });
    }
    bool isUp() const override { return true; }
    QString stateText() const override { return "Connected"; }

    QPointer<PassingCarrier> other;
    // Where what is sent is kept too, beyond the carrier's own life.
    std::vector<std::string>* record = nullptr;
};

QString labelText(QWidget& window, const char* name)
{
    return window.findChild<QLabel*>(name)->text();
}

// In the list of remote games: the game `gameId`, opened, and `button` in the
// question that follows.
void chooseStoredGame(const std::string& gameId, const QString& button)
{
    whenOpen<RemoteGamesDialog>([gameId, button](RemoteGamesDialog& games) {
        auto* list = games.findChild<QTreeWidget*>("remoteGamesList");
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            list->setCurrentItem(list->topLevelItem(row));
            if (games.chosen().gameId == gameId) break;
        }
        whenOpen<QMessageBox>([button](QMessageBox& question) {
            for (QAbstractButton* choice : question.buttons()) {
                if (choice->text() == button) choice->click();
            }
        });
        QTest::mouseClick(games.findChild<QPushButton*>("openRemoteGame"), Qt::LeftButton);
    });
}

} // namespace

class RemoteRoomTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void movesClickedOnOneSideAppearOnTheOtherWithTheirNotation();
    void clicksOffTurnSayWhomTheBoardWaitsFor();
    void anOfferBarAcceptedEndsTheGameInADrawOnBothSides();
    void theWinOptionCannotChangeAndTheComputersAidsAreOff();
    void aTakeBackRequestAcceptedTakesBothRoomsBack();
    void chatAndTheStoredGameFollowThePlay();
    void hostAndJoinOnTheHomeNetworkWithTheCodeOnly();
    void aGameFromTheBoardGoesThroughTheReaderAndABrokenOneIsDeclined();

private:
    GameRoomWindow& side(int which) { return *forms_[which]->gameRoom(); }
    void startGame(bool fromBoard = false);

    QTemporaryDir homes_;
    std::unique_ptr<Forms> forms_[2];
};

// Each window keeps its games and settings in a home of its own, as on two computers.
void RemoteRoomTest::init()
{
    for (int which = 0; which < 2; ++which) {
        const QString home = homes_.path() + (which == 0 ? "/alice" : "/bob");
        qputenv("XDG_DATA_HOME", (home + "/data").toUtf8());
        qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
        forms_[which] = std::make_unique<Forms>();
        enterGameRoom(*forms_[which]);
    }
    // Hosts take any free port, never one another test may hold.
    RemoteSettings().setValue("homeNetwork/port", 0);
    startGame();
}

void RemoteRoomTest::cleanup()
{
    for (auto& forms : forms_) {
        if (GameRoomWindow* window = forms->gameRoom()) {
            // An unsaved game asks before the window goes.
            QTimer::singleShot(0, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->button(QMessageBox::Ok)->click();
            });
            window->close();
        }
        forms.reset();
    }
}

// Alice invites Bob with White to the standard game or the one on her board;
// Bob's window takes the invitation.
void RemoteRoomTest::startGame(bool fromBoard)
{
    auto toBob = std::make_unique<PassingCarrier>();
    auto toAlice = std::make_unique<PassingCarrier>();
    toBob->other = toAlice.get();
    toAlice->other = toBob.get();
    side(1).waitForInvitation(std::move(toAlice), "Alice");
    QVERIFY(side(0).inviteToGame({Side::White, 0, {}}, fromBoard, std::move(toBob),
                                 remote::Carrier::Direct, "Bob", {}));
    QTRY_VERIFY(side(1).remoteRoom() && side(0).remoteRoom()->game().started());
    QCOMPARE(side(1).remoteRoom()->game().setup().localSide, Side::Black);
    QCOMPARE(side(1).remoteRoom()->game().setup().gameId,
             side(0).remoteRoom()->game().setup().gameId);
}

void RemoteRoomTest::movesClickedOnOneSideAppearOnTheOtherWithTheirNotation()
{
    playAKnight(side(0));
    QCOMPARE(side(0).room().halfMoves(), 1);
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    QCOMPARE(side(1).room().notation(), side(0).room().notation());
    QCOMPARE(side(1).room().position().squares, side(0).room().position().squares);
    QVERIFY(side(1).room().lastMove());
    QCOMPARE(side(1).findChild<QListWidget*>("moveList")->count(), 1);
    QCOMPARE(labelText(side(1), "remoteTurn"), QString("Your move"));

    playAKnight(side(1));
    QTRY_COMPARE(side(0).room().halfMoves(), 2);
    QCOMPARE(side(0).room().notation(), side(1).room().notation());
    QCOMPARE(labelText(side(0), "Label2"), labelText(side(1), "Label2"));
}

void RemoteRoomTest::clicksOffTurnSayWhomTheBoardWaitsFor()
{
    // Black's knight, clicked on Bob's board before White has moved.
    clickSquare(side(1), 15);
    QVERIFY(!side(1).room().pieceSelected());
    QCOMPARE(labelText(side(1), "notice"), QString("Waiting for Alice"));

    playAKnight(side(0));
    // Alice's own piece, now that Black is to move: nothing happens on her board.
    clickSquare(side(0), 9);
    QVERIFY(!side(0).room().pieceSelected());
    QCOMPARE(labelText(side(0), "notice"), QString("Waiting for Bob"));
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    clickSquare(side(1), 15);
    QVERIFY(side(1).room().pieceSelected());
}

void RemoteRoomTest::anOfferBarAcceptedEndsTheGameInADrawOnBothSides()
{
    playAKnight(side(0));
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    side(0).findChild<QAction*>("Draws")->trigger();
    // Declare Draw only offers: Alice's game goes on until Bob answers.
    QVERIFY(sideToMove(side(0).room().position().status));
    auto* bar = side(1).findChild<OfferBar*>("offerBar");
    QTRY_VERIFY(bar->isVisible());
    QCOMPARE(bar->text(), QString("Alice offers a draw."));
    QVERIFY(side(0).findChild<OfferBar*>("offerBar")->text().contains("waiting for Bob"));
    // The board stays free while the bar waits: Bob may still pick up a piece.
    clickSquare(side(1), 15);
    QVERIFY(side(1).room().pieceSelected());
    clickSquare(side(1), 15);

    QTest::mouseClick(bar->findChild<QPushButton*>("offerAccept"), Qt::LeftButton);
    QCOMPARE(labelText(side(1), "Label2"), QString("DRAW!"));
    QTRY_COMPARE(labelText(side(0), "Label2"), QString("DRAW!"));
    QTRY_VERIFY(!side(0).findChild<OfferBar*>("offerBar")->isVisible());
}

void RemoteRoomTest::theWinOptionCannotChangeAndTheComputersAidsAreOff()
{
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) qFatal("no message box open");
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    side(1).findChild<QAction*>("option")->trigger();
    QCOMPARE(shown, QString("Can't Change Now!"));
    QCOMPARE(side(1).room().position().winOption, 0);
    QVERIFY(!side(0).clockPanel().inUse());
    for (const char* name : {"hint", "players", "analysisPanelAction"})
        QVERIFY2(!side(0).findChild<QAction*>(name)->isEnabled(), name);

    // Resign: the local player loses, though the opponent is to move.
    playAKnight(side(0));
    side(0).findChild<QAction*>("resign")->trigger();
    QCOMPARE(labelText(side(0), "Label2"), QString("Black Wins!"));
    QTRY_COMPARE(labelText(side(1), "Label2"), QString("Black Wins!"));
    QVERIFY(side(0).findChild<QAction*>("hint")->isEnabled());
    QVERIFY(!side(0).findChild<QAction*>("players")->isEnabled());
}

void RemoteRoomTest::aTakeBackRequestAcceptedTakesBothRoomsBack()
{
    playAKnight(side(0));
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    playAKnight(side(1));
    QTRY_COMPARE(side(0).room().halfMoves(), 2);

    // Left only looks back on Alice's side; Bob's room stays where it is.
    side(0).activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&side(0)));
    QTest::keyClick(&side(0), Qt::Key_Left);
    QCOMPARE(side(0).room().halfMoves(), 1);
    QTest::keyClick(&side(0), Qt::Key_Right);
    QCOMPARE(side(1).room().halfMoves(), 2);

    QTest::mouseClick(side(0).findChild<QPushButton*>("Command3"), Qt::LeftButton);
    QCOMPARE(side(0).room().halfMoves(), 2);
    auto* bar = side(1).findChild<OfferBar*>("offerBar");
    QTRY_VERIFY(bar->isVisible());
    QCOMPARE(bar->text(), QString("Alice asks to take back their last move."));
    QTest::mouseClick(bar->findChild<QPushButton*>("offerAccept"), Qt::LeftButton);
    QCOMPARE(side(1).room().halfMoves(), 0);
    QTRY_COMPARE(side(0).room().halfMoves(), 0);
    QCOMPARE(labelText(side(0), "remoteTurn"), QString("Your move"));
}

void RemoteRoomTest::chatAndTheStoredGameFollowThePlay()
{
    auto* entry = side(1).findChild<QLineEdit*>("chatEntry");
    entry->setFocus();
    QTest::keyClicks(entry, "good luck");
    QTest::keyClick(entry, Qt::Key_Return);
    auto* lines = side(0).findChild<QListWidget*>("chatLines");
    QTRY_VERIFY(!lines->findItems("Bob: good luck", Qt::MatchExactly).isEmpty());

    playAKnight(side(0));
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    const std::string gameId = side(0).remoteRoom()->game().setup().gameId;
    for (int which = 0; which < 2; ++which) {
        const auto stored = side(which).remoteStore().load(gameId);
        QVERIFY(std::holds_alternative<remote::StoredGame>(stored));
        QCOMPARE(std::get<remote::StoredGame>(stored).game.halfMoves, 1);
        QCOMPARE(std::get<remote::StoredGame>(stored).record.setup.localSide,
                 which == 0 ? Side::White : Side::Black);
    }
}

// The real dialogs and a real connection on 127.0.0.1: Alice hosts with
// Black, Bob joins, first with a wrong code, which is refused in words.
void RemoteRoomTest::hostAndJoinOnTheHomeNetworkWithTheCodeOnly()
{
    QString refusal;
    QTimer::singleShot(0, [this, &refusal] {
        auto* host = qobject_cast<HostDialog*>(QApplication::activeModalWidget());
        if (!host) qFatal("no host dialog");
        host->findChild<QComboBox*>("hostSide")->setCurrentIndex(1);
        QTest::mouseClick(host->findChild<QPushButton*>("startHosting"), Qt::LeftButton);
        const QString address = "127.0.0.1:" + QString::number(host->listeningPort());
        const QString code = host->codeText();
        QVERIFY(host->findChild<QLabel*>("joinCode")->isVisible());
        QTimer::singleShot(0, [&refusal, address, code] {
            auto* join = qobject_cast<JoinDialog*>(QApplication::activeModalWidget());
            if (!join) qFatal("no join dialog");
            auto* status = join->findChild<QLabel*>("joinStatus");
            join->findChild<QLineEdit*>("joinAddress")->setText(address);
            join->findChild<QLineEdit*>("joinCodeEntry")->setText(net::JoinCode::generate().text());
            QTest::mouseClick(join->findChild<QPushButton*>("startJoining"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!status->text().startsWith("Connecting"), 10000);
            refusal = status->text();
            join->findChild<QLineEdit*>("joinCodeEntry")->setText(code.toLower());
            QTest::mouseClick(join->findChild<QPushButton*>("startJoining"), Qt::LeftButton);
        });
        side(1).findChild<QAction*>("joinHomeNetwork")->trigger();
    });
    side(0).findChild<QAction*>("hostHomeNetwork")->trigger();
    QVERIFY2(refusal.contains("code"), qPrintable(refusal));

    QTRY_VERIFY_WITH_TIMEOUT(side(1).remoteRoom() && side(0).remoteRoom()->game().started(), 10000);
    QCOMPARE(side(0).remoteRoom()->game().setup().localSide, Side::Black);
    QCOMPARE(side(1).remoteRoom()->game().setup().localSide, Side::White);
    playAKnight(side(1));
    QTRY_COMPARE(side(0).room().halfMoves(), 1);
    QCOMPARE(side(0).room().notation(), side(1).room().notation());

    // Both take the game up again from the list of remote games: Alice hosts, Bob joins.
    const std::string gameId = side(0).remoteRoom()->game().setup().gameId;
    chooseStoredGame(gameId, "Host");
    whenOpen<HostDialog>([this, gameId](HostDialog& host) {
        const QString address = "127.0.0.1:" + QString::number(host.listeningPort());
        const QString code = host.codeText();
        chooseStoredGame(gameId, "Join");
        whenOpen<JoinDialog>([address, code](JoinDialog& join) {
            join.findChild<QLineEdit*>("joinAddress")->setText(address);
            join.findChild<QLineEdit*>("joinCodeEntry")->setText(code);
            QTest::mouseClick(join.findChild<QPushButton*>("startJoining"), Qt::LeftButton);
        });
        side(1).findChild<QAction*>("remoteGames")->trigger();
    });
    side(0).findChild<QAction*>("remoteGames")->trigger();
    QCOMPARE(side(1).remoteRoom()->game().setup().gameId, gameId);
    QCOMPARE(side(1).room().halfMoves(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(
        side(1).remoteRoom()->carrier().isUp() && side(0).remoteRoom()->game().localTurn(), 10000);
    playAKnight(side(0));
    QTRY_COMPARE_WITH_TIMEOUT(side(1).room().halfMoves(), 2, 10000);
}

void RemoteRoomTest::aGameFromTheBoardGoesThroughTheReaderAndABrokenOneIsDeclined()
{
    playAKnight(side(0));
    QTRY_COMPARE(side(1).room().halfMoves(), 1);
    playAKnight(side(1));
    QTRY_COMPARE(side(0).room().halfMoves(), 2);
    startGame(true);
    QCOMPARE(side(1).room().halfMoves(), 2);
    QCOMPARE(side(1).room().position().squares, side(0).room().position().squares);
    QCOMPARE(encodeSavedGame(side(1).room().savedGame()),
             encodeSavedGame(side(0).room().savedGame()));
    playAKnight(side(0));
    QTRY_COMPARE(side(1).room().halfMoves(), 3);

    // A saved game no game could produce: Bob is told why, his game stays, and the answer is No.
    const SavedGame before = side(1).room().savedGame();
    SavedGame broken = side(0).room().savedGame();
    broken.position.kingsStanding = 7;
    const remote::WireMessage invitation{remote::newGameId(), 1,
                                         remote::Invite{Side::White, 0, encodeSavedGame(broken)}};
    auto toAlice = std::make_unique<PassingCarrier>();
    std::vector<std::string> sent;
    toAlice->record = &sent;
    QString told;
    QTimer::singleShot(0, [&told] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) qFatal("no message box open");
        told = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    QVERIFY(!side(1).acceptInvitation(invitation, std::move(toAlice), remote::Carrier::Direct,
                                      "Mallory", {}));
    QVERIFY2(told.startsWith("The game in the invitation cannot be played: "), qPrintable(told));
    QCOMPARE(sent.size(), std::size_t(1));
    const auto answer = remote::decode(sent.front());
    QVERIFY(std::holds_alternative<remote::WireMessage>(answer));
    const auto& body = std::get<remote::WireMessage>(answer).body;
    QVERIFY(std::holds_alternative<remote::InviteAnswer>(body)
            && !std::get<remote::InviteAnswer>(body).accepted);
    QCOMPARE(side(1).room().savedGame(), before);
    QCOMPARE(side(1).remoteRoom()->opponent(), QString("Alice"));
}

QTEST_MAIN(RemoteRoomTest)
#include "remote_room_test.moc"
