// A peer that breaks the rules: it invites with white over the same links as
// palisade-cli peer (the same options), then sends what no honest program
// sends (garbage, another protocol version, a message far too long, an
// illegal move, a move with a wrong hash, then, after 41 43 and while Black's
// draw offer waits, a move out of turn and a stale answer) between honest
// messages, and finally declines the offer, takes the reply and resigns. The program under test must refuse each one and play on.
// Exit status 0 when the game went through, 1 otherwise.

#include "cli/peer_link.h"
#include "gameroom/game_room.h"
#include "gameroom/silent_view.h"
#include "remote/position_hash.h"
#include "remote/wire_message.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <iostream>

using namespace palisade;

namespace {

// How long the victim has to acknowledge a message before we take it that a
// refused message did not use up its sequence number.
constexpr int kAckWaitMilliseconds = 500;
constexpr int kStepMilliseconds = 20000;

class Hostile {
public:
    explicit Hostile(std::unique_ptr<PeerLink> link) : link_(std::move(link)), mirror_(view_)
    {
        mirror_.setUp();
        QObject::connect(link_.get(), &PeerLink::up, [this] { up_ = true; });
        QObject::connect(link_.get(), &PeerLink::received, [this](const std::string& text) { arrived(text); });
        QObject::connect(link_.get(), &PeerLink::failed, [](const QString& reason) {
            std::cerr << "hostile_peer: " << reason.toStdString() << '\n';
            QCoreApplication::exit(1);
        });
        QObject::connect(link_.get(), &PeerLink::listening,
                         [](quint16 port) { std::cout << "listening " << port << std::endl; });
    }

    bool run()
    {
        link_->open();
        if (!waitFor([this] { return up_; }, "the link")) return false;
        sendHonest(remote::Invite{Side::White, 0, {}});
        if (!waitFor([this] { return accepted_; }, "the invitation's answer")) return false;

        sendHostile("hello, is this a chess program?");
        sendHostile(versioned(encodeNext(move(0, 41, 43)), "palisade 2 "));
        sendHostile(encodeNext(remote::Chat{std::string(3000, 'x')}));
        sendHostile(encodeNext(move(0, 41, 44)));                      // a pawn three squares on
        sendHostile(encodeNext(remote::MoveMessage{0, 41, 43, {}, 1})); // the wrong position after it

        playHonest(41, 43);
        // Black offers a draw and waits for the answer: meanwhile White moves
        // again, and answers as if the offer had been made before.
        if (!waitFor([this] { return offerAt_ == 1; }, "black's draw offer")) return false;
        sendHostile(encodeNext(move(1, 8, 18)));
        sendHostile(encodeNext(remote::OfferAnswer{0, remote::OfferKind::Draw, true}));
        sendHonest(remote::OfferAnswer{1, remote::OfferKind::Draw, false});
        if (!waitFor([this] { return mirror_.halfMoves() == 2; }, "black's reply")) return false;
        sendHonest(remote::Resignation{2});
        return waitFor([this] { return acknowledged_ + 1 == sequence_; }, "the resignation's acknowledgement");
    }

private:
    remote::MoveMessage move(int halfMove, int pick, int drop) const
    {
        return remote::MoveMessage{halfMove, pick, drop, remote::MoveAnswer::None,
                                   remote::positionHash(mirror_.position(), mirror_.halfMoves())};
    }

    std::string encodeNext(remote::MessageBody body) const
    {
        return remote::encode(remote::WireMessage{gameId_, sequence_, std::move(body)});
    }

    static std::string versioned(std::string message, const std::string& head)
    {
        return head + message.substr(message.find(' ', message.find(' ') + 1) + 1);
    }

    void playHonest(int pick, int drop)
    {
        const int halfMove = mirror_.halfMoves();
        mirror_.clickSquare(pick);
        mirror_.clickSquare(drop);
        sendHonest(remote::MoveMessage{halfMove, pick, drop, remote::MoveAnswer::None,
                                       remote::positionHash(mirror_.position(), mirror_.halfMoves())});
    }

    void sendHonest(remote::MessageBody body)
    {
        link_->send(encodeNext(std::move(body)));
        ++sequence_;
    }

    // A refused message the victim still acknowledged used up its number.
    void sendHostile(const std::string& message)
    {
        link_->send(message);
        const std::uint32_t sent = sequence_;
        QDeadlineTimer deadline(kAckWaitMilliseconds);
        while (!deadline.hasExpired() && acknowledged_ < sent) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (acknowledged_ >= sent) ++sequence_;
    }

    void arrived(const std::string& text)
    {
        const auto decoded = remote::decode(text);
        const auto* message = std::get_if<remote::WireMessage>(&decoded);
        if (!message) return;
        if (const auto* ack = std::get_if<remote::Acknowledge>(&message->body)) {
            acknowledged_ = std::max(acknowledged_, ack->sequence);
            return;
        }
        link_->send(remote::encode(remote::WireMessage{gameId_, 0, remote::Acknowledge{message->sequence}}));
        if (message->sequence <= lastReceived_) return;
        lastReceived_ = message->sequence;
        if (const auto* answer = std::get_if<remote::InviteAnswer>(&message->body)) accepted_ = answer->accepted;
        if (const auto* offer = std::get_if<remote::Offer>(&message->body)) offerAt_ = offer->halfMove;
        if (const auto* reply = std::get_if<remote::MoveMessage>(&message->body)) {
            mirror_.clickSquare(reply->pick);
            mirror_.clickSquare(reply->drop);
        }
    }

    bool waitFor(const std::function<bool()>& done, const char* what)
    {
        QDeadlineTimer deadline(kStepMilliseconds);
        while (!done()) {
            if (deadline.hasExpired()) {
                std::cerr << "hostile_peer: no " << what << " in time\n";
                return false;
            }
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        return true;
    }

    std::unique_ptr<PeerLink> link_;
    SilentView view_;
    GameRoom mirror_;
    std::string gameId_ = remote::newGameId();
    std::uint32_t sequence_ = 1;
    std::uint32_t acknowledged_ = 0;
    std::uint32_t lastReceived_ = 0;
    bool up_ = false;
    bool accepted_ = false;
    int offerAt_ = -1;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    auto script = parsePeerScript(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* refusal = std::get_if<std::string>(&script)) {
        std::cerr << "hostile_peer: " << *refusal << '\n';
        return 2;
    }
    auto link = makePeerLink(std::get<PeerScript>(script));
    if (const auto* refusal = std::get_if<std::string>(&link)) {
        std::cerr << "hostile_peer: " << *refusal << '\n';
        return 2;
    }
    Hostile hostile(std::get<std::unique_ptr<PeerLink>>(std::move(link)));
    const bool played = hostile.run();
    // The last acknowledgements must leave before the link closes.
    QDeadlineTimer linger(300);
    while (!linger.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return played ? 0 : 1;
}
