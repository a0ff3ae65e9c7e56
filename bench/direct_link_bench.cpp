// The direct link on this computer: how long a join takes with the right
// code, the round trip of a message the size of a move, and how long the
// joiner takes to be back after the host dropped the connection.
//   direct_link_bench [ROUND_TRIPS [JOINS]]

#include "network/direct_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

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
    std::printf("%-34s n=%-4zu median %9.1f us   p95 %9.1f us   max %9.1f us\n", what, microseconds.size(), at(0.5),
                at(0.95), microseconds.back());
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int roundTrips = argc > 1 ? std::atoi(argv[1]) : 100;
    const int joins = argc > 2 ? std::atoi(argv[2]) : 20;
    if (roundTrips <= 0 || joins <= 0) {
        std::fprintf(stderr, "usage: direct_link_bench [ROUND_TRIPS [JOINS]]\n");
        return 2;
    }
    const JoinCode code = JoinCode::generate();
    QElapsedTimer clock;
    clock.start();
    const QByteArray key = code.presharedKey();
    std::printf("%-34s %9.1f ms (%d bytes)\n", "key from the join code", clock.nsecsElapsed() / 1e6,
                static_cast<int>(key.size()));

    DirectLink host;
    DirectLink joiner;
    if (!host.host(0, code)) {
        std::fprintf(stderr, "%s\n", qPrintable(host.errorString()));
        return 1;
    }
    int hostConnections = 0;
    int joinerConnections = 0;
    int joinerDrops = 0;
    QObject::connect(&host, &DirectLink::connected, [&] { ++hostConnections; });
    QObject::connect(&joiner, &DirectLink::connected, [&] { ++joinerConnections; });
    QObject::connect(&joiner, &DirectLink::disconnected, [&] { ++joinerDrops; });
    QObject::connect(&host, &DirectLink::received, [&](const std::string& message) { host.send(message); });
    std::string echoed;
    QObject::connect(&joiner, &DirectLink::received, [&](const std::string& message) { echoed = message; });

    // The first join derives the key; later ones with the same code reuse it.
    std::vector<double> joinTimes;
    for (int round = 0; round < joins; ++round) {
        clock.restart();
        joiner.join(QStringLiteral("127.0.0.1"), host.port(), code);
        if (!runUntil([&] { return hostConnections > round && joinerConnections > round; })) return 1;
        joinTimes.push_back(clock.nsecsElapsed() / 1e3);
        if (round + 1 < joins) joiner.disconnectFromPeer();
    }
    report("join with the right code", joinTimes);

    const std::string move = "1 0123456789abcdef 17 move 12 37 90 - 0123456789abcdef0123456789abcdef0123456789";
    std::vector<double> trips;
    for (int trip = 0; trip < roundTrips; ++trip) {
        echoed.clear();
        clock.restart();
        joiner.send(move);
        if (!runUntil([&] { return echoed == move; })) return 1;
        trips.push_back(clock.nsecsElapsed() / 1e3);
    }
    report(("round trip, " + std::to_string(move.size()) + " bytes").c_str(), trips);

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
    report("drop to connected again", rejoins);
    return 0;
}
