// Real logins against the private prosody the test fixture starts: its
// folder (port, cert.pem, password) comes in XMPP_SERVER_DIR.
#include "network/xmpp_account.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using palisade::net::XmppAccount;

namespace {

constexpr int kWaitMilliseconds = 10000;

QString serverFile(const char* name) {
    return qEnvironmentVariable("XMPP_SERVER_DIR") + u'/' + QLatin1String(name);
}

QString serverText(const char* name) {
    QFile file(serverFile(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "no " << name << " in the server's folder";
    return QString::fromUtf8(file.readAll()).trimmed();
}

XmppAccount::Settings settingsFor(const QString& user) {
    XmppAccount::Settings settings;
    settings.address = user + QStringLiteral("@localhost");
    settings.password = serverText("password");
    settings.caFile = serverFile("cert.pem");
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = serverText("port").toUShort();
    return settings;
}

// One account with a record of everything it told.
struct Player {
    explicit Player(const QString& user)
        : settings(settingsFor(user)), online(&account, &XmppAccount::online),
          offline(&account, &XmppAccount::offline), failed(&account, &XmppAccount::loginFailed),
          requests(&account, &XmppAccount::contactRequest), presences(&account, &XmppAccount::presenceChanged) {
        QObject::connect(&account, &XmppAccount::received, [this](const QString& from, const std::string& body) {
            messages.push_back({from, body});
        });
    }

    QString address() const { return settings.address; }

    bool logIn() {
        account.logIn(settings);
        return QTest::qWaitFor([this] { return account.isOnline() || failed.count() > 0; }, kWaitMilliseconds)
               && account.isOnline();
    }

    QString refusal(const XmppAccount::Settings& tried) {
        account.logIn(tried);
        if (!QTest::qWaitFor([this] { return failed.count() > 0 || account.isOnline(); }, kWaitMilliseconds)
            || failed.isEmpty()) {
            return QStringLiteral("(not refused)");
        }
        return failed.takeFirst().at(0).toString();
    }

    bool seesOnline(const QString& other, bool isOnline) {
        return QTest::qWaitFor([&] { return account.contactOnline(other) == isOnline; }, kWaitMilliseconds);
    }

    bool receivedCount(std::size_t count) {
        return QTest::qWaitFor([&] { return messages.size() >= count; }, kWaitMilliseconds * 3);
    }

    XmppAccount account;
    XmppAccount::Settings settings;
    QSignalSpy online;
    QSignalSpy offline;
    QSignalSpy failed;
    QSignalSpy requests;
    QSignalSpy presences;
    std::vector<std::pair<QString, std::string>> messages;
};

TEST(XmppAccount, LogsInWithTheRightPasswordAndTheTrustedCertificate) {
    Player ann(QStringLiteral("ann"));
    ASSERT_TRUE(ann.logIn()) << ann.failed.value(0).value(0).toString().toStdString();
    EXPECT_EQ(ann.online.count(), 1);
    EXPECT_EQ(ann.account.address(), QStringLiteral("ann@localhost"));

    ann.account.logOut();
    EXPECT_FALSE(ann.account.isOnline());
    EXPECT_EQ(ann.offline.count(), 1);
    // And again, after a clean logout.
    ASSERT_TRUE(ann.logIn());
}

TEST(XmppAccount, RefusesWithWordsThatSayWhy) {
    Player ann(QStringLiteral("ann"));

    XmppAccount::Settings wrongPassword = ann.settings;
    wrongPassword.password = QStringLiteral("not-the-password");
    EXPECT_TRUE(ann.refusal(wrongPassword).contains(QStringLiteral("password")));

    // The system's certificates do not vouch for the test server's own.
    XmppAccount::Settings untrusted = ann.settings;
    untrusted.caFile.clear();
    const QString untrustedReason = ann.refusal(untrusted);
    EXPECT_TRUE(untrustedReason.contains(QStringLiteral("certificate"))) << untrustedReason.toStdString();

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    XmppAccount::Settings nobodyThere = ann.settings;
    nobodyThere.port = closed.serverPort();
    closed.close();
    const QString nobodyReason = ann.refusal(nobodyThere);
    EXPECT_TRUE(nobodyReason.contains(QStringLiteral("Could not reach"))) << nobodyReason.toStdString();

    for (const char* address : {"ann", "ann@", "@localhost", "ann@localhost/home", "a b@localhost", "ann@local..host"}) {
        XmppAccount::Settings malformed = ann.settings;
        malformed.address = QString::fromUtf8(address);
        EXPECT_TRUE(ann.refusal(malformed).contains(QStringLiteral("not an account address"))) << address;
    }
    EXPECT_EQ(ann.online.count(), 0);
}

TEST(XmppAccount, ContactsSubscribeBothWaysAndSeeEachOtherComeAndGo) {
    Player ben(QStringLiteral("ben"));
    Player cid(QStringLiteral("cid"));
    ASSERT_TRUE(ben.logIn());
    ASSERT_TRUE(cid.logIn());

    ben.account.addContact(cid.address());
    ASSERT_TRUE(cid.requests.wait(kWaitMilliseconds));
    EXPECT_EQ(cid.requests.at(0).at(0).toString(), ben.address());
    EXPECT_FALSE(cid.account.isContact(ben.address()));
    cid.account.acceptContact(ben.address());

    EXPECT_TRUE(ben.seesOnline(cid.address(), true));
    EXPECT_TRUE(cid.seesOnline(ben.address(), true));
    EXPECT_TRUE(ben.account.isContact(cid.address()));
    EXPECT_TRUE(cid.account.isContact(QStringLiteral("Ben@LocalHost")));
    EXPECT_EQ(ben.account.contacts(), QStringList{cid.address()});
    EXPECT_EQ(ben.requests.count(), 0) << "ben's own request came back as a stranger's";

    cid.account.logOut();
    EXPECT_TRUE(ben.seesOnline(cid.address(), false));
    ASSERT_TRUE(cid.logIn());
    EXPECT_TRUE(ben.seesOnline(cid.address(), true));
    EXPECT_TRUE(cid.account.contactOnline(ben.address()));
    EXPECT_TRUE(cid.account.isContact(ben.address()));
}

TEST(XmppAccount, AStrangersRequestCanBeDeclined) {
    Player dot(QStringLiteral("dot"));
    Player eve(QStringLiteral("eve"));
    ASSERT_TRUE(dot.logIn());
    ASSERT_TRUE(eve.logIn());

    dot.account.addContact(eve.address());
    ASSERT_TRUE(eve.requests.wait(kWaitMilliseconds));
    eve.account.declineContact(dot.address());
    QTest::qWait(300);
    EXPECT_FALSE(eve.account.isContact(dot.address()));
    EXPECT_FALSE(dot.account.contactOnline(eve.address()));
    EXPECT_FALSE(eve.account.contactOnline(dot.address()));
}

TEST(XmppAccount, MessagesArriveWholeAndInOrderBothWays) {
    Player fay(QStringLiteral("fay"));
    Player gus(QStringLiteral("gus"));
    ASSERT_TRUE(fay.logIn());
    ASSERT_TRUE(gus.logIn());

    const std::string large(150 * 1024, 'm');
    const std::string marked = "<move a=\"1\" & b='2'> \xc3\xa9\xe2\x99\x9a";
    std::vector<std::string> toGus;
    for (int i = 0; i < 40; ++i) {
        toGus.push_back("move " + std::to_string(i));
    }
    toGus.insert(toGus.begin() + 20, large);
    toGus.insert(toGus.begin() + 21, marked);

    // Never sent: too long, not text, to no address, to oneself.
    fay.account.send(gus.address(), std::string(XmppAccount::kMaxBodyBytes + 1, 'x'));
    fay.account.send(gus.address(), std::string("a\x01z"));
    fay.account.send(gus.address(), std::string("\xff\xfe"));
    fay.account.send(QStringLiteral("gus@localhost/other"), "resource");
    fay.account.send(fay.address(), "to myself");
    for (std::size_t i = 0; i < toGus.size(); ++i) {
        fay.account.send(gus.address(), toGus[i]);
        if (i % 5 == 0) {
            gus.account.send(fay.address(), "answer " + std::to_string(i));
        }
    }

    ASSERT_TRUE(gus.receivedCount(toGus.size()));
    ASSERT_TRUE(fay.receivedCount(9));
    QTest::qWait(200);
    ASSERT_EQ(gus.messages.size(), toGus.size());
    for (std::size_t i = 0; i < toGus.size(); ++i) {
        EXPECT_EQ(gus.messages[i].first, fay.address());
        EXPECT_EQ(gus.messages[i].second.size(), toGus[i].size()) << i;
        EXPECT_TRUE(gus.messages[i].second == toGus[i]) << i;
    }
    ASSERT_EQ(fay.messages.size(), 9u);
    EXPECT_EQ(fay.messages.back().second, "answer 40");
}

TEST(XmppAccount, AMessageWaitsOnTheServerWhileTheContactIsAway) {
    Player hal(QStringLiteral("hal"));
    Player ivy(QStringLiteral("ivy"));
    ASSERT_TRUE(hal.logIn());
    hal.account.send(ivy.address(), "while you were out");
    hal.account.send(ivy.address(), "and a second");
    QTest::qWait(300);
    hal.account.logOut();

    ASSERT_TRUE(ivy.logIn());
    ASSERT_TRUE(ivy.receivedCount(2));
    EXPECT_EQ(ivy.messages[0].first, hal.address());
    EXPECT_EQ(ivy.messages[0].second, "while you were out");
    EXPECT_EQ(ivy.messages[1].second, "and a second");
}

// Between the account and the server, so that the line can be cut. On a
// thread of its own: libstrophe waits for the TLS handshake in its turn.
class CuttableLine {
public:
    explicit CuttableLine(quint16 serverPort) {
        thread_.start();
        listener_.moveToThread(&thread_);
        QMetaObject::invokeMethod(&listener_, [this, serverPort] { open(serverPort); }, Qt::BlockingQueuedConnection);
    }
    ~CuttableLine() {
        QMetaObject::invokeMethod(&listener_, [this] { listener_.close(); }, Qt::BlockingQueuedConnection);
        thread_.quit();
        thread_.wait();
    }
    quint16 port() const { return port_; }
    void cut() {
        QMetaObject::invokeMethod(&listener_, [this] {
            for (QTcpSocket* client : listener_.findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
                client->abort();
            }
        }, Qt::BlockingQueuedConnection);
    }

private:
    void open(quint16 serverPort) {
        listener_.listen(QHostAddress::LocalHost);
        port_ = listener_.serverPort();
        QObject::connect(&listener_, &QTcpServer::newConnection, &listener_, [this, serverPort] {
            QTcpSocket* client = listener_.nextPendingConnection();
            auto* server = new QTcpSocket(client);
            server->connectToHost(QHostAddress::LocalHost, serverPort);
            QObject::connect(client, &QTcpSocket::readyRead, server, [=] { server->write(client->readAll()); });
            QObject::connect(server, &QTcpSocket::readyRead, client, [=] { client->write(server->readAll()); });
        });
    }

    QThread thread_;
    QTcpServer listener_;
    quint16 port_ = 0;
};

TEST(XmppAccount, ALostConnectionIsToldWithItsReason) {
    Player dot(QStringLiteral("dot"));
    CuttableLine line(dot.settings.port);
    dot.settings.port = line.port();
    ASSERT_TRUE(dot.logIn());
    line.cut();
    ASSERT_TRUE(dot.offline.wait(kWaitMilliseconds));
    EXPECT_FALSE(dot.account.isOnline());
    EXPECT_TRUE(dot.offline.at(0).at(0).toString().contains(QStringLiteral("127.0.0.1")))
        << dot.offline.at(0).at(0).toString().toStdString();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
