// The direct link on this computer: how long a join takes with the right
// code, the round trip of a message the size of a move, and how long the
// joiner takes to be back after the host dropped the connection. The round
// trip is timed twice: host and joiner in this process, and the host in a
// second process, as on two computers.
//   direct_link_bench [ROUND_TRIPS [JOINS]]
//   direct_link_bench --echo-host CODE   (the second process: prints its port, echoes)

#include "network/direct_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using palisade::net::DirectLink;
using palisade::net::JoinCode;

// Runs the event loop until `done` says so; false after ten seconds.
template <typename Done> bool runUntil(Done done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

void report(const char* what, std::vector<double> microseconds)
{
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double share) {
        return microseconds[std::min(microseconds.size() - 1, static_cast<std::size_t>(share * microseconds.size()))];
    };
    std::printf("%-40s n=%-4zu median %9.1f us   p95 %9.1f us   max %9.1f us\n", what, microseconds.size(), at(0.5),
                at(0.95), microseconds.back());
}

// Hosts with `code`, says on which port, and sends back every message.
int echoHost(const QString& codeText)
{
    const auto code = JoinCode::parse(codeText);
    DirectLink host;
    if (!code || !host.host(0, *code)) return 1;
    QObject::connect(&host, &DirectLink::received, [&](const std::string& message) { host.send(message); });
    std::printf("%d\n", host.port());
    std::fflush(stdout);
    return QCoreApplication::exec();
}

// Round trips of `message`, sent by `joiner` and echoed by its host.
std::vector<double> roundTrips(DirectLink& joiner, const std::string& message, int count)
{
    std::string echoed;
    const auto echo = QObject::connect(&joiner, &DirectLink::received, [&](const std::string& back) { echoed = back; });
    std::vector<double> trips;
    QElapsedTimer clock;
    for (int trip = 0; trip < count; ++trip) {
        echoed.clear();
        clock.restart();
        joiner.send(message);
        if (!runUntil([&] { return echoed == message; })) break;
        trips.push_back(clock.nsecsElapsed() / 1e3);
    }
    QObject::disconnect(echo);
    return trips;
}

// The host in a process of its own: the joiner's round trips to it.
std::vector<double> roundTripsToAnotherProcess(const JoinCode& code, const std::string& message, int count)
{
    QProcess hostProcess;
    hostProcess.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--echo-host"), code.text()});
    if (!runUntil([&] { return hostProcess.canReadLine() || hostProcess.state() == QProcess::NotRunning; })) return {};
    const auto port = static_cast<quint16>(hostProcess.readLine().trimmed().toUInt());
    DirectLink joiner;
    bool up = false;
    QObject::connect(&joiner, &DirectLink::connected, [&] { up = true; });
    joiner.join(QStringLiteral("127.0.0.1"), port, code);
    if (port == 0 || !runUntil([&] { return up; })) return {};
    auto trips = roundTrips(joiner, message, count);
    hostProcess.kill();
    hostProcess.waitForFinished();
    return trips;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--echo-host") return echoHost(QString::fromLatin1(argv[2]));
    const int tripCount = argc > 1 ? std::atoi(argv[1]) : 100;
    const int joins = argc > 2 ? std::atoi(argv[2]) : 20;
    if (tripCount <= 0 || joins <= 0) {
        std::fprintf(stderr, "usage: direct_link_bench [ROUND_TRIPS [JOINS]]\n");
        return 2;
    }
    const JoinCode code = JoinCode::generate();
    QElapsedTimer clock;
    clock.start();
    const QByteArray key = code.presharedKey();
    std::printf("%-40s %9.1f ms (%d bytes)\n", "key from the join code", clock.nsecsElapsed() / 1e6,
                static_cast<int>(key.size()));

    DirectLink host;
    DirectLink joiner;
    if (!host.host(0, code)) {
        std::fprintf(stderr, "%s\n", qPrintable(host.errorString()));
        return 1;
    }
    int hostConnections = 0;
    int joinerConnections = 0;
    QObject::connect(&host, &DirectLink::connected, [&] { ++hostConnections; });
    QObject::connect(&joiner, &DirectLink::connected, [&] { ++joinerConnections; });
    QObject::connect(&host, &DirectLink::received, [&](const std::string& message) { host.send(message); });

    // The first join derives the key; later ones with the same code reuse it.
    std::vector<double> joinTimes;
    for (int round = 0; round < joins; ++round) {
        clock.restart();
        joiner.join(QStringLiteral("127.0.0.1"), host.port(), code);
        if (!runUntil([&] { return hostConnections > round && joinerConnections > round; })) return 1;
        if (round == 0) {
            std::printf("%-40s %9.1f ms\n", "first join (derives the key)", clock.nsecsElapsed() / 1e6);
        } else {
            joinTimes.push_back(clock.nsecsElapsed() / 1e3);
        }
        if (round + 1 < joins) joiner.disconnectFromPeer();
    }
    if (!joinTimes.empty()) report("join again with the right code", joinTimes);

    const std::string move = "1 0123456789abcdef 17 move 12 37 90 - 0123456789abcdef0123456789abcdef0123456789";
    const auto trips = roundTrips(joiner, move, tripCount);
    if (trips.empty()) return 1;
    report(("round trip, " + std::to_string(move.size()) + " bytes, one process").c_str(), trips);
    const auto apart = roundTripsToAnotherProcess(code, move, tripCount);
    if (apart.empty()) return 1;
    report(("round trip, " + std::to_string(move.size()) + " bytes, two processes").c_str(), apart);

    // The host drops; the joiner joins again as soon as it hears of it.
    QObject::connect(&joiner, &DirectLink::disconnected,
                     [&] { joiner.join(QStringLiteral("127.0.0.1"), host.port(), code); });
    std::vector<double> rejoins;
    for (int round = 0; round < joins; ++round) {
        const int before = joinerConnections;
        clock.restart();
        host.disconnectFromPeer();
        if (!runUntil([&] { return joinerConnections > before && host.isConnected(); })) return 1;
        rejoins.push_back(clock.nsecsElapsed() / 1e3);
    }
    report("host drops, joiner connected again", rejoins);
    return 0;
}
