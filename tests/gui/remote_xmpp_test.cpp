// Two game room windows playing over the private XMPP server of the tests:
// logging in through the account dialog, a contact asked and accepted, an
// invitation sent and accepted, moves, and a move that arrives while the
// opponent is offline, applied to the stored game and resumed from the list.
#include "window_driving.h"

#include "engine/targets.h"
#include "network/xmpp_account.h"
#include "remote/remote_store.h"
#include "shell/account_dialog.h"
#include "shell/contacts_dialog.h"
#include "shell/invite_dialog.h"
#include "shell/remote_centre.h"
#include "shell/remote_games_dialog.h"
#include "shell/remote_room.h"
#include "shell/remote_settings.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <memory>

using namespace palisade;

namespace {

constexpr int kWaitMs = 15000;

QString serverText(const char* name)
{
    QFile file(qEnvironmentVariable("XMPP_SERVER_DIR") + "/" + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("the test server's folder has no %s", name);
    return QString::fromUtf8(file.readAll()).trimmed();
}

// Works in the dialog of type T that the next step opens, once it shows, then closes it.
template <typename T> void inNextDialog(std::function<void(T&)> work)
{
    whenOpen<T>([work](T& dialog) {
        work(dialog);
        if (dialog.isVisible()) dialog.reject();
    });
}

// Says Yes to every question the network brings up (a contact's request, an
// invitation) and keeps what they said.
class QuestionAnswerer : public QObject {
public:
    QuestionAnswerer()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->button(QMessageBox::Yes)) return;
            asked << box->text();
            box->button(QMessageBox::Yes)->click();
        });
        timer_.start();
    }
    QStringList asked;

private:
    QTimer timer_;
};

} // namespace

class RemoteXmppTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void inviteMoveAndAMoveWhileOfflineResumedFromTheList();

private:
    GameRoomWindow& openWindow(int which);
    void logIn(GameRoomWindow& window, const QString& address);

    QTemporaryDir homes_;
    std::unique_ptr<Forms> forms_[2];
    const QString addresses_[2] = {"grace@localhost", "heidi@localhost"};
};

void RemoteXmppTest::initTestCase()
{
    qputenv("PALISADE_TEST_CA_FILE",
            (qEnvironmentVariable("XMPP_SERVER_DIR") + "/cert.pem").toUtf8());
}

// Each player's games and settings in a home of their own, as on two computers.
GameRoomWindow& RemoteXmppTest::openWindow(int which)
{
    const QString home = homes_.path() + "/" + QString::number(which);
    qputenv("XDG_DATA_HOME", (home + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/config").toUtf8());
    RemoteSettings settings;
    settings.setValue("account/host", "127.0.0.1");
    settings.setValue("account/port", serverText("port").toUInt());
    forms_[which] = std::make_unique<Forms>();
    return enterGameRoom(*forms_[which]);
}

void RemoteXmppTest::logIn(GameRoomWindow& window, const QString& address)
{
    inNextDialog<AccountDialog>([address](AccountDialog& dialog) {
        dialog.findChild<QLineEdit*>("accountAddress")->setText(address);
        dialog.findChild<QLineEdit*>("accountPassword")->setText(serverText("password"));
        QTest::mouseClick(dialog.findChild<QPushButton*>("logIn"), Qt::LeftButton);
        auto* state = dialog.findChild<QLabel*>("accountState");
        if (!QTest::qWaitFor([state] { return state->text().startsWith("Online"); }, kWaitMs))
            qWarning("not logged in: %s", qPrintable(state->text()));
    });
    window.findChild<QAction*>("remoteAccount")->trigger();
    QVERIFY(window.remoteCentre().account().isOnline());
}

void RemoteXmppTest::inviteMoveAndAMoveWhileOfflineResumedFromTheList()
{
    QuestionAnswerer answerer;
    GameRoomWindow& grace = openWindow(0);
    GameRoomWindow* heidi = &openWindow(1);
    logIn(grace, addresses_[0]);
    logIn(*heidi, addresses_[1]);

    inNextDialog<ContactsDialog>([this](ContactsDialog& dialog) {
        dialog.findChild<QLineEdit*>("newContact")->setText(addresses_[1]);
        QTest::mouseClick(dialog.findChild<QPushButton*>("addContact"), Qt::LeftButton);
        auto* list = dialog.findChild<QListWidget*>("contactList");
        if (!QTest::qWaitFor(
                [list] { return list->count() == 1 && list->item(0)->text().contains("(online)"); },
                kWaitMs))
            qWarning("the contact never showed online");
    });
    grace.findChild<QAction*>("remoteContacts")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(heidi->remoteCentre().account().isContact(addresses_[0]), kWaitMs);
    QVERIFY(answerer.asked.join('\n').contains(addresses_[0] + " asks to be your contact."));

    inNextDialog<InviteDialog>([this](InviteDialog& dialog) {
        auto* contact = dialog.findChild<QComboBox*>("inviteContact");
        contact->setCurrentIndex(contact->findText(addresses_[1]));
        QTest::mouseClick(dialog.findChild<QPushButton*>("sendInvite"), Qt::LeftButton);
    });
    grace.findChild<QAction*>("remoteInvite")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(heidi->remoteRoom() && grace.remoteRoom()->game().started(), kWaitMs);
    QVERIFY(
        answerer.asked.last().startsWith(addresses_[0] + " invites you to a game: you play Black"));
    const std::string gameId = grace.remoteRoom()->game().setup().gameId;

    playAKnight(grace);
    QTRY_COMPARE_WITH_TIMEOUT(heidi->room().halfMoves(), 1, kWaitMs);
    QCOMPARE(heidi->room().notation(), grace.room().notation());
    playAKnight(*heidi);
    QTRY_COMPARE_WITH_TIMEOUT(grace.room().halfMoves(), 2, kWaitMs);

    // Heidi leaves; the server keeps Grace's next move until she logs in again.
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    heidi->close();
    forms_[1].reset();
    playAKnight(grace);
    QCOMPARE(grace.room().halfMoves(), 3);

    heidi = &openWindow(1);
    logIn(*heidi, addresses_[1]);
    QTRY_VERIFY_WITH_TIMEOUT(heidi->statusBar()->currentMessage().contains("moved"), kWaitMs);
    QVERIFY(!heidi->remoteRoom());
    std::vector<remote::StoredGameSummary> games = heidi->remoteStore().games();
    QCOMPARE(games.size(), std::size_t(1));
    QVERIFY(games.front().localToMove);

    inNextDialog<RemoteGamesDialog>([](RemoteGamesDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("remoteGamesList");
        QCOMPARE(list->topLevelItemCount(), 1);
        list->setCurrentItem(list->topLevelItem(0));
        QTest::mouseClick(dialog.findChild<QPushButton*>("openRemoteGame"), Qt::LeftButton);
    });
    heidi->findChild<QAction*>("remoteGames")->trigger();
    QVERIFY(heidi->remoteRoom());
    QCOMPARE(heidi->remoteRoom()->game().setup().gameId, gameId);
    QCOMPARE(heidi->room().halfMoves(), 3);
    QCOMPARE(heidi->room().position().squares, grace.room().position().squares);
    playAKnight(*heidi);
    QTRY_COMPARE_WITH_TIMEOUT(grace.room().halfMoves(), 4, kWaitMs);
}

QTEST_MAIN(RemoteXmppTest)
#include "remote_xmpp_test.moc"
