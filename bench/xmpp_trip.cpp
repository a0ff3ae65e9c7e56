// Through a running XMPP server (the test one: prosody_server.sh start DIR):
// the time to log in, a message's trip from one account to another, and the
// processor time an idle logged-in account costs.
//   xmpp_trip DIR
#include "network/xmpp_account.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using palisade::net::XmppAccount;

namespace {

QString dir;

QString serverText(const char* name) {
    QFile file(dir + u'/' + QLatin1String(name));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).trimmed();
}

XmppAccount::Settings settingsFor(const char* user) {
    XmppAccount::Settings settings;
    settings.address = QString::fromUtf8(user) + QStringLiteral("@localhost");
    settings.password = serverText("password");
    settings.caFile = dir + QStringLiteral("/cert.pem");
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = serverText("port").toUShort();
    return settings;
}

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

// Waits in a plain event loop (QTest's waits sleep 10 ms between looks).
bool waitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return done();
}

void idle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool logIn(XmppAccount& account, const char* user) {
    account.logIn(settingsFor(user));
    return waitFor([&] { return account.isOnline(); });
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: xmpp_trip SERVER_DIR\n");
        return 2;
    }
    dir = QString::fromLocal8Bit(argv[1]);

    std::vector<double> logins;
    for (int i = 0; i < 10; ++i) {
        XmppAccount account;
        QElapsedTimer clock;
        clock.start();
        if (!logIn(account, "carol")) {
            std::fprintf(stderr, "carol could not log in\n");
            return 1;
        }
        logins.push_back(clock.nsecsElapsed() / 1e6);
        account.logOut();
    }
    std::printf("login to online (ms): median %.2f, 95th percentile %.2f\n", percentile(logins, 0.5),
                percentile(logins, 0.95));

    XmppAccount alice;
    XmppAccount bob;
    if (!logIn(alice, "alice") || !logIn(bob, "bob")) {
        std::fprintf(stderr, "alice or bob could not log in\n");
        return 1;
    }
    QElapsedTimer clock;
    qint64 sentAt = 0;
    std::vector<double> trips;
    QObject::connect(&bob, &XmppAccount::received,
                     [&](const QString&, const std::string&) { trips.push_back((clock.nsecsElapsed() - sentAt) / 1e6); });
    clock.start();
    const std::string move = std::string("{\"v\":1,\"kind\":\"move\",\"pick\":17,\"drop\":33,\"hash\":\"") +
                             std::string(64, 'a') + "\"}";
    for (std::size_t i = 0; i < 100; ++i) {
        sentAt = clock.nsecsElapsed();
        alice.send(bob.address(), move);
        if (!waitFor([&] { return trips.size() > i; })) {
            std::fprintf(stderr, "message %zu did not arrive\n", i);
            return 1;
        }
    }
    std::printf("alice -> bob trip of a %zu-byte message (ms, 100 messages): median %.3f, 95th percentile %.3f\n",
                move.size(), percentile(trips, 0.5), percentile(trips, 0.95));

    const double before = processorSeconds();
    idle(20000);
    const double spent = processorSeconds() - before;
    std::printf("two accounts logged in, idle 20 s: %.1f ms of processor time (%.3f%% of one core)\n", spent * 1000,
                spent / 20 * 100);
    return 0;
}
