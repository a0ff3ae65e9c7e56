// From the click that makes a move on one side to the move played on the
// other: two palisade-cli peer programs play a random game of 100 half-moves
// against each other over a carrier and report their timestamps (--timing).
// Also the bytes of each move message, and the time from reconnecting after
// a dropped connection to the first message of the opponent (which sends
// the move it made meanwhile).
//
//   remote_latency --cli PALISADE_CLI --carrier direct
//   remote_latency --cli PALISADE_CLI --carrier xmpp --server-dir DIR
// The XMPP carrier needs a running test server:
//   sh tests/xmpp/prosody_server.sh start DIR

#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <iostream>
#include <map>
#include <random>
#include <vector>

using namespace palisade;

namespace {

constexpr int kHalfMoves = 100;
// Black drops its connection after this many of its moves.
constexpr int kDropAfter = 25;
constexpr int kSeed = 20261207;
const QString kCode = QStringLiteral("7K3M-9QXD-2F");
const QString kPassword = QStringLiteral("latency-password");

// The clicks of a random game that neither ends nor asks for a king.
std::vector<std::pair<int, int>> randomGame()
{
    SilentView view;
    GameRoom room(view);
    room.setUp();
    std::mt19937 random(kSeed);
    std::vector<std::pair<int, int>> moves;
    while (static_cast<int>(moves.size()) < kHalfMoves) {
        const Side mover = *sideToMove(room.position().status);
        std::vector<std::pair<int, int>> candidates;
        for (int pick = 0; pick < kSquareCount; ++pick) {
            if (!belongsTo(room.position().squares[pick], mover)) continue;
            GameRoom picked = room;
            picked.clickSquare(pick);
            for (int drop = 0; drop < kSquareCount; ++drop) {
                if (!picked.isTarget(drop)) continue;
                GameRoom trial = picked;
                trial.clickSquare(drop);
                if (trial.halfMoves() == room.halfMoves() + 1 && !trial.result() && !trial.kingChoice()) {
                    candidates.emplace_back(pick, drop);
                }
            }
        }
        if (candidates.empty()) {
            std::cerr << "remote_latency: the random game ran out of moves\n";
            std::exit(1);
        }
        const auto move = candidates[std::uniform_int_distribution<std::size_t>(0, candidates.size() - 1)(random)];
        room.clickSquare(move.first);
        room.clickSquare(move.second);
        moves.push_back(move);
    }
    return moves;
}

// One side's tokens: its clicks, Black's dropped connection after its move
// number kDropAfter (a joiner on a home network, which then joins again),
// White's next move once Black is away, and the resignation of the side to
// move at the end.
QStringList tokensOf(const std::vector<std::pair<int, int>>& moves, std::size_t side)
{
    QStringList tokens;
    for (std::size_t k = side; k < moves.size(); k += 2) {
        if (k == 2 * kDropAfter + 2) tokens << "await-offline";
        tokens << QString::number(moves[k].first) << QString::number(moves[k].second);
        if (k == 2 * kDropAfter + 1) tokens << "disconnect" << "pause" << "reconnect";
    }
    if (moves.size() % 2 == side) tokens << "resign";
    return tokens;
}

// The move White makes while Black is away waits for Black's return.
bool sentWhileAway(int halfMoves) { return halfMoves == 2 * kDropAfter + 3; }

struct Run {
    QProcess process;
    QStringList lines;
};

double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::map<QString, QString> options;
    const QStringList arguments = application.arguments();
    for (int k = 1; k + 1 < arguments.size(); k += 2) options[arguments[k]] = arguments[k + 1];
    const QString cli = options["--cli"];
    const QString carrier = options["--carrier"];
    if (cli.isEmpty() || (carrier != "direct" && carrier != "xmpp")) {
        std::cerr << "usage: remote_latency --cli PALISADE_CLI --carrier direct|xmpp [--server-dir DIR]\n";
        return 2;
    }
    const auto moves = randomGame();
    QStringList white = {"peer", "--side", "white", "--timing", "--timeout", "300"};
    QStringList black = {"peer", "--side", "black", "--timing", "--timeout", "300"};
    Run whiteRun;
    Run blackRun;
    if (carrier == "xmpp") {
        const QString dir = options["--server-dir"];
        QFile portFile(dir + "/port");
        if (!portFile.open(QIODevice::ReadOnly)) {
            std::cerr << "remote_latency: no server in " << dir.toStdString() << '\n';
            return 2;
        }
        const QString port = QString::fromLatin1(portFile.readAll()).trimmed();
        QFile passwordFile(dir + "/latency-password");
        passwordFile.open(QIODevice::WriteOnly);
        passwordFile.write(kPassword.toLatin1() + "\n");
        passwordFile.close();
        for (const char* user : {"latency-w", "latency-b"}) {
            QProcess::execute("prosodyctl",
                              {"--config", dir + "/prosody.cfg.lua", "register", user, "localhost", kPassword});
        }
        const QStringList common = {"--password-file", passwordFile.fileName(), "--ca", dir + "/cert.pem",
                                    "--server", "127.0.0.1:" + port};
        white << "--xmpp" << "latency-w@localhost" << "--invite" << "latency-b@localhost" << common;
        black << "--xmpp" << "latency-b@localhost" << "--accept" << common;
    } else {
        white << "--listen" << "0" << "--code" << kCode;
    }
    whiteRun.process.start(cli, white + tokensOf(moves, 0));
    if (carrier == "direct") {
        QString port;
        while (port.isEmpty() && whiteRun.process.waitForReadyRead(10000)) {
            while (whiteRun.process.canReadLine()) {
                const QString line = QString::fromLatin1(whiteRun.process.readLine()).trimmed();
                whiteRun.lines << line;
                if (line.startsWith("listening ")) port = line.section(' ', 1);
            }
        }
        black << "--connect" << "127.0.0.1:" + port << "--code" << kCode;
    }
    blackRun.process.start(cli, black + tokensOf(moves, 1));
    for (Run* run : {&whiteRun, &blackRun}) {
        run->process.waitForFinished(300000);
        run->lines << QString::fromLatin1(run->process.readAllStandardOutput()).split('\n');
        if (run->process.exitCode() != 0) {
            std::cerr << "remote_latency: a peer failed:\n" << run->process.readAllStandardError().toStdString();
            return 1;
        }
    }

    // timing sent HALF CLICK BYTES on one side; timing shown HALF NS on the other.
    std::map<int, double> clicked;
    std::vector<double> bytes;
    std::vector<double> latencies;
    std::map<QString, double> resume;
    for (const Run* run : {&whiteRun, &blackRun}) {
        for (const QString& line : run->lines) {
            const QStringList f = line.split(' ');
            if (f.size() >= 5 && f[0] == "timing" && f[1] == "sent") {
                clicked[f[2].toInt()] = f[3].toDouble();
                bytes.push_back(f[4].toDouble());
            }
        }
    }
    for (const Run* run : {&whiteRun, &blackRun}) {
        double reconnect = 0;
        for (const QString& line : run->lines) {
            const QStringList f = line.split(' ');
            if (f.size() < 4 || f[0] != "timing") continue;
            const int half = f[2].toInt();
            if (f[1] == "shown" && clicked.count(half) && !sentWhileAway(half)) {
                latencies.push_back((f[3].toDouble() - clicked[half]) / 1e6);
            }
            if (f[1] == "reconnect") reconnect = f[3].toDouble();
            if (f[1] == "resumed" && reconnect > 0) {
                resume[run == &blackRun ? "black" : "white"] = (f[3].toDouble() - reconnect) / 1e6;
                reconnect = 0;
            }
        }
    }
    if (latencies.empty()) {
        std::cerr << "remote_latency: no move was timed\n";
        return 1;
    }
    double byteSum = 0;
    for (double b : bytes) byteSum += b;
    std::cout << carrier.toStdString() << ": " << latencies.size() << " moves, click to shown median "
              << percentile(latencies, 0.5) << " ms, 95th percentile " << percentile(latencies, 0.95)
              << " ms; move message " << byteSum / static_cast<double>(bytes.size()) << " bytes on average ("
              << *std::min_element(bytes.begin(), bytes.end()) << ".." << *std::max_element(bytes.begin(), bytes.end())
              << "); resumed " << (resume.count("black") ? resume["black"] : -1.0)
              << " ms after reconnecting\n";
    return 0;
}
