#include "network/direct_link.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSslCipher>
#include <QSslConfiguration>
#include <QSslPreSharedKeyAuthenticator>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace palisade::net {
namespace {

constexpr int kWaitMs = 15000;
constexpr std::size_t kLargestMessage = 160 * 1024;

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "direct_link_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Everything one link said, in order.
struct Heard {
    explicit Heard(DirectLink& link)
    {
        QObject::connect(&link, &DirectLink::connected, [this] { ++connections; });
        QObject::connect(&link, &DirectLink::disconnected, [this](const QString& reason) {
            disconnections.push_back(reason);
        });
        QObject::connect(&link, &DirectLink::received, [this](const std::string& message) {
            messages.push_back(message);
        });
        QObject::connect(&link, &DirectLink::refused, [this](const QString& reason) {
            refusals.push_back(reason);
        });
    }
    int connections = 0;
    std::vector<QString> disconnections;
    std::vector<std::string> messages;
    std::vector<QString> refusals;
};

JoinCode codeOf(const char* text)
{
    return *JoinCode::parse(QString::fromLatin1(text));
}

// A port nobody listens on right now.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A hand-made joiner that knows the code and, once in, writes whatever the
// test gives it: what a hostile program could send.
std::unique_ptr<QSslSocket> rawJoiner(quint16 port, const JoinCode& code)
{
    auto socket = std::make_unique<QSslSocket>();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setProtocol(QSsl::TlsV1_2);
    configuration.setCiphers({QSslCipher(QStringLiteral("ECDHE-PSK-CHACHA20-POLY1305"))});
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    socket->setSslConfiguration(configuration);
    const QByteArray key = code.presharedKey();
    QObject::connect(socket.get(), &QSslSocket::preSharedKeyAuthenticationRequired,
                     [key](QSslPreSharedKeyAuthenticator* authenticator) {
                         authenticator->setIdentity("test");
                         authenticator->setPreSharedKey(key);
                     });
    socket->connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
    return socket;
}

class DirectLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        application();
        ASSERT_TRUE(host.host(0, code)) << host.errorString().toStdString();
        ASSERT_NE(host.port(), 0);
    }

    void joinAndWait(DirectLink& joiner, const Heard& joinerHeard)
    {
        const int hostBefore = hostHeard.connections;
        const int joinerBefore = joinerHeard.connections;
        joiner.join(QStringLiteral("127.0.0.1"), host.port(), code);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return hostHeard.connections > hostBefore && joinerHeard.connections > joinerBefore;
        }, kWaitMs));
        EXPECT_TRUE(host.isConnected());
        EXPECT_TRUE(joiner.isConnected());
    }

    // One message each way, to show the link carries them.
    void expectExchange()
    {
        const auto hostCount = hostHeard.messages.size();
        const auto joinerCount = joinerHeard.messages.size();
        joiner.send("to the host");
        host.send("to the joiner");
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return hostHeard.messages.size() > hostCount && joinerHeard.messages.size() > joinerCount;
        }, kWaitMs));
        EXPECT_EQ(hostHeard.messages.back(), "to the host");
        EXPECT_EQ(joinerHeard.messages.back(), "to the joiner");
    }

    const JoinCode code = codeOf("K7M2-9QXD-3F");
    DirectLink host;
    Heard hostHeard{host};
    DirectLink joiner;
    Heard joinerHeard{joiner};
};

TEST_F(DirectLinkTest, CarriesMessagesBothWaysInOrderUpToTheLargest)
{
    joinAndWait(joiner, joinerHeard);
    std::vector<std::string> sent;
    for (int index = 0; index < 40; ++index) sent.push_back("message " + std::to_string(index));
    sent.insert(sent.begin() + 20, std::string(150 * 1024, 'g'));
    sent.push_back(std::string(kLargestMessage, 'z'));
    for (const auto& message : sent) joiner.send(message);
    for (const auto& message : sent) host.send(message);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return hostHeard.messages.size() >= sent.size() && joinerHeard.messages.size() >= sent.size();
    }, kWaitMs));
    EXPECT_EQ(hostHeard.messages, sent);
    EXPECT_EQ(joinerHeard.messages, sent);
    EXPECT_TRUE(hostHeard.refusals.empty());
    EXPECT_TRUE(joinerHeard.refusals.empty());

    // What the other side would refuse is never sent, and the link stays up.
    joiner.send(std::string(kLargestMessage + 1, 'x'));
    joiner.send("two\nlines");
    EXPECT_EQ(joinerHeard.refusals.size(), 2u);
    expectExchange();
}

TEST_F(DirectLinkTest, AWrongCodeNeverConnectsAndBothSidesSayWhy)
{
    joiner.join(QStringLiteral("127.0.0.1"), host.port(), codeOf("K7M2-9QXD-3G"));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return !joinerHeard.disconnections.empty() && !hostHeard.refusals.empty();
    }, kWaitMs));
    ASSERT_EQ(joinerHeard.refusals.size(), 1u);
    EXPECT_EQ(joinerHeard.refusals.front(), QStringLiteral("The join code does not match."));
    EXPECT_EQ(joinerHeard.disconnections.front(), joinerHeard.refusals.front());
    EXPECT_TRUE(hostHeard.refusals.front().contains(QStringLiteral("join code")));
    EXPECT_EQ(hostHeard.connections + joinerHeard.connections, 0);
    EXPECT_TRUE(hostHeard.messages.empty());

    // The host still waits for the player who has the code.
    joinAndWait(joiner, joinerHeard);
    expectExchange();
}

TEST_F(DirectLinkTest, HostileBytesDropTheConnectionWithARefusal)
{
    const std::vector<QByteArray> hostile = {
        QByteArray(kLargestMessage + 1, 'a'),            // too long, no line end yet
        QByteArray("move\x01\n"),                        // a control byte
        QByteArray("caf\xc3\xa9\n"),                     // a byte beyond ASCII
        QByteArray("fine\r\n"),                          // a carriage return is no text either
    };
    for (const QByteArray& bytes : hostile) {
        const auto before = hostHeard.disconnections.size();
        auto raw = rawJoiner(host.port(), code);
        ASSERT_TRUE(QTest::qWaitFor([&] { return raw->canReadLine(); }, kWaitMs));
        EXPECT_EQ(raw->readLine(), QByteArray("palisade-direct 1 ready\n"));
        raw->write("accepted first\n" + bytes);
        ASSERT_TRUE(QTest::qWaitFor([&] { return hostHeard.disconnections.size() > before; }, kWaitMs))
            << bytes.left(20).toStdString();
        EXPECT_EQ(hostHeard.messages.back(), "accepted first");
        EXPECT_EQ(hostHeard.refusals.back(), hostHeard.disconnections.back());
        EXPECT_FALSE(host.isConnected());
        EXPECT_TRUE(QTest::qWaitFor([&] { return raw->state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    }
    EXPECT_EQ(hostHeard.messages.size(), hostile.size());
    joinAndWait(joiner, joinerHeard);
    expectExchange();
}

TEST_F(DirectLinkTest, AfterADropTheSameJoinerJoinsAgain)
{
    joinAndWait(joiner, joinerHeard);
    // The last words before leaving still arrive.
    joiner.send("leaving");
    joiner.disconnectFromPeer();
    EXPECT_FALSE(joiner.isConnected());
    ASSERT_EQ(joinerHeard.disconnections.size(), 1u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !hostHeard.disconnections.empty(); }, kWaitMs));
    EXPECT_EQ(hostHeard.messages, std::vector<std::string>{"leaving"});

    joinAndWait(joiner, joinerHeard);
    expectExchange();

    // The host drops this time; the joiner hears it and comes back.
    host.disconnectFromPeer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return joinerHeard.disconnections.size() == 2; }, kWaitMs));
    EXPECT_EQ(joinerHeard.disconnections.back(), QStringLiteral("The other player's connection closed."));
    joinAndWait(joiner, joinerHeard);
    expectExchange();
    EXPECT_TRUE(hostHeard.refusals.empty());
}

TEST_F(DirectLinkTest, ASecondJoinerIsTurnedAwayAndTheFirstPlaysOn)
{
    joinAndWait(joiner, joinerHeard);
    DirectLink second;
    Heard secondHeard{second};
    second.join(QStringLiteral("127.0.0.1"), host.port(), code);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !secondHeard.disconnections.empty(); }, kWaitMs));
    EXPECT_EQ(secondHeard.connections, 0);
    ASSERT_EQ(secondHeard.refusals.size(), 1u);
    EXPECT_EQ(secondHeard.refusals.front(), QStringLiteral("The host is already playing with someone else."));
    EXPECT_EQ(hostHeard.refusals.size(), 1u);
    EXPECT_EQ(hostHeard.connections, 1);
    EXPECT_TRUE(hostHeard.disconnections.empty());
    expectExchange();
}

TEST_F(DirectLinkTest, IdleStrangersDoNotKeepTheJoinerOut)
{
    std::vector<std::unique_ptr<QTcpSocket>> strangers;
    for (int index = 0; index < 6; ++index) {
        strangers.push_back(std::make_unique<QTcpSocket>());
        strangers.back()->connectToHost(QHostAddress::LocalHost, host.port());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return std::all_of(strangers.begin(), strangers.end(),
                           [](const auto& socket) { return socket->state() == QAbstractSocket::ConnectedState; });
    }, kWaitMs));
    joinAndWait(joiner, joinerHeard);
    expectExchange();
}

TEST_F(DirectLinkTest, AJoinThatFindsNoHostSaysSo)
{
    joiner.join(QStringLiteral("127.0.0.1"), closedPort(), code);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !joinerHeard.disconnections.empty(); }, kWaitMs));
    EXPECT_EQ(joinerHeard.disconnections.front(), QStringLiteral("No game is hosted at that address and port."));
    EXPECT_EQ(joinerHeard.connections, 0);

    joiner.join(QStringLiteral("127.0.0.1"), host.port(), JoinCode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return joinerHeard.disconnections.size() == 2; }, kWaitMs));
    EXPECT_EQ(joinerHeard.disconnections.back(), QStringLiteral("There is no join code."));
}

TEST_F(DirectLinkTest, AJoinThatGetsNoAnswerGivesUp)
{
    // Something listens there but never speaks TLS.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    joiner.join(QStringLiteral("127.0.0.1"), silent.serverPort(), code);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !joinerHeard.disconnections.empty(); }, kWaitMs));
    EXPECT_EQ(joinerHeard.disconnections.front(), QStringLiteral("The host did not answer in time."));
    EXPECT_EQ(joinerHeard.connections, 0);
}

TEST(DirectLinkAddresses, ListsNoLoopback)
{
    application();
    for (const QString& address : DirectLink::localAddresses()) {
        EXPECT_FALSE(QHostAddress(address).isLoopback()) << address.toStdString();
        EXPECT_FALSE(QHostAddress(address).isNull()) << address.toStdString();
    }
}

} // namespace
} // namespace palisade::net
