#include "cli/peer_driver.h"

#include "cli/state_line.h"
#include "gameroom/game_file.h"

#include <QCoreApplication>

#include <chrono>
#include <map>
#include <sstream>

namespace palisade {

namespace {

// Unacknowledged messages go out again this often.
constexpr int kResendMilliseconds = 2000;
// What the `pause` token waits.
constexpr int kPauseMilliseconds = 1000;
// Closing the link may take this long before the program ends anyway; once
// the link is down, what it still holds gets this long to leave.
constexpr int kClosingMilliseconds = 1500;
constexpr int kFlushMilliseconds = 300;

constexpr int kExitRefused = 2;
constexpr int kExitTimedOut = 3;

std::int64_t nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The commands that only change what the local player sees.
const std::map<std::string, void (GameRoom::*)()>& viewCommands()
{
    static const std::map<std::string, void (GameRoom::*)()> table = {
        {"back", &GameRoom::takeBack},         {"forward", &GameRoom::forward},
        {"first", &GameRoom::backToFirstMove}, {"last", &GameRoom::forwardToEnd},
        {"switch", &GameRoom::switchSides},
    };
    return table;
}

const char* offerName(remote::OfferKind kind)
{
    switch (kind) {
    case remote::OfferKind::Draw: return "draw";
    case remote::OfferKind::TakeBack: return "take-back";
    case remote::OfferKind::NewGame: return "new-game";
    }
    return "?";
}

} // namespace

PeerDriver::PeerDriver(PeerScript script, std::ostream& out, std::ostream& err)
    : script_(std::move(script)), out_(out), err_(err), screen_(out, script_.answers), answers_(screen_),
      room_(answers_)
{
    resendTimer_.setInterval(kResendMilliseconds);
    connect(&resendTimer_, &QTimer::timeout, this, [this] {
        if (game_ && link_->isUp()) game_->resendDue();
    });
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &PeerDriver::giveUp);
}

PeerDriver::~PeerDriver() = default;

bool PeerDriver::start()
{
    auto link = makePeerLink(script_);
    if (const auto* refusal = std::get_if<std::string>(&link)) {
        err_ << "palisade-cli peer: " << *refusal << '\n';
        return false;
    }
    link_ = std::get<std::unique_ptr<PeerLink>>(std::move(link));
    if (script_.inviter && !setUpInvitersGame()) return false;
    connect(link_.get(), &PeerLink::up, this, &PeerDriver::linkUp);
    connect(link_.get(), &PeerLink::down, this, &PeerDriver::linkDown);
    connect(link_.get(), &PeerLink::received, this, &PeerDriver::arrived);
    connect(link_.get(), &PeerLink::presenceChanged, this, &PeerDriver::step);
    connect(link_.get(), &PeerLink::refused, this, [this](const QString& reason) {
        out_ << "refused " << reason.toStdString() << '\n';
    });
    connect(link_.get(), &PeerLink::listening, this, [this](quint16 port) { out_ << "listening " << port << '\n'; });
    connect(link_.get(), &PeerLink::failed, this, [this](const QString& reason) {
        err_ << "palisade-cli peer: " << reason.toStdString() << '\n';
        finish(kExitRefused);
    });
    deadline_.start(script_.timeoutSeconds * 1000);
    resendTimer_.start();
    link_->open();
    return true;
}

bool PeerDriver::setUpInvitersGame()
{
    remote::Invite invite;
    invite.inviterSide = script_.side;
    std::optional<SavedGame> saved;
    if (!script_.file.empty()) {
        auto bytes = readFileBytes(script_.file);
        std::variant<SavedGame, FileError> game = FileError{};
        if (auto* text = std::get_if<std::string>(&bytes)) {
            invite.savedGame = *text;
            game = decodeSavedGame(*text);
        } else {
            game = std::get<FileError>(bytes);
        }
        if (const auto* error = std::get_if<FileError>(&game)) {
            err_ << "palisade-cli peer: could not open the saved game " << script_.file << ": " << error->reason
                 << ".\n";
            return false;
        }
        saved = std::get<SavedGame>(std::move(game));
    }
    invite.winOption = script_.winOption.value_or(saved ? saved->position.winOption : 0);
    setUpRoom(saved, invite.winOption);
    const remote::GameSetup setup{remote::newGameId(), script_.side, link_->opponent().toStdString()};
    game_ = std::make_unique<remote::RemoteGame>(room_, answers_, *this, setup);
    invite_ = invite;
    return true;
}

void PeerDriver::setUpRoom(const std::optional<SavedGame>& saved, int winOption)
{
    if (saved) {
        room_.load(*saved, script_.file);
    } else {
        room_.setUp();
        room_.activate();
    }
    if (room_.position().winOption != winOption) room_.toggleWinOption();
    writeLine("start");
}

void PeerDriver::linkUp()
{
    if (finishing_) return;
    linkShownUp_ = true;
    out_ << "link up\n";
    timing("up");
    awaitingResume_ = true;
    // The invitation is the game's first message; what the link's coming up
    // sends follows it.
    if (invite_) {
        game_->sendInvite(*invite_);
        invite_.reset();
    }
    if (game_) game_->linkUp();
    step();
}

void PeerDriver::linkDown(const QString& reason)
{
    if (finishing_ || !linkShownUp_) return;
    linkShownUp_ = false;
    out_ << "link down " << reason.toStdString() << '\n';
    if (game_) game_->linkDown();
    step();
}

void PeerDriver::arrived(const std::string& message)
{
    if (finishing_) return;
    if (awaitingResume_) {
        timing("resumed");
        awaitingResume_ = false;
    }
    if (game_) {
        deliver(message);
    } else {
        takeInvitation(message);
    }
    step();
}

// The side that accepts sets its room up from the invitation, as the player
// would after agreeing to it: the start, the win option, our side.
void PeerDriver::takeInvitation(const std::string& message)
{
    const auto decoded = remote::decode(message);
    if (const auto* error = std::get_if<remote::DecodeError>(&decoded)) {
        out_ << "refused " << error->reason << '\n';
        return;
    }
    const auto& wire = std::get<remote::WireMessage>(decoded);
    const auto* invite = std::get_if<remote::Invite>(&wire.body);
    if (!invite) return; // nothing to play yet: the invitation comes first
    if (invite->inviterSide == script_.side) {
        link_->send(remote::RemoteGame::declineInvite(wire));
        err_ << "palisade-cli peer: the invitation gives us the other side.\n";
        finish(kExitRefused);
        return;
    }
    std::optional<SavedGame> saved;
    if (!invite->savedGame.empty()) {
        auto game = decodeSavedGame(invite->savedGame);
        if (const auto* error = std::get_if<FileError>(&game)) {
            link_->send(remote::RemoteGame::declineInvite(wire));
            err_ << "palisade-cli peer: the invitation's saved game was refused: " << error->reason << ".\n";
            finish(kExitRefused);
            return;
        }
        saved = std::get<SavedGame>(std::move(game));
    }
    setUpRoom(saved, invite->winOption);
    const remote::GameSetup setup{wire.gameId, script_.side, link_->opponent().toStdString()};
    game_ = std::make_unique<remote::RemoteGame>(room_, answers_, *this, setup);
    // The answer must be our first message: the inviter takes nothing before it.
    game_->acceptInvite(wire.sequence);
    if (link_->isUp()) game_->linkUp();
}

void PeerDriver::deliver(const std::string& message)
{
    const auto offerBefore = game_->opponentOffer();
    const bool leftBefore = game_->opponentLeft();
    const int movesBefore = room_.movesPlayed();
    changed_ = false;
    refusedNow_ = false;
    game_->received(message);
    if (room_.movesPlayed() != movesBefore) timing("shown");
    const auto& offer = game_->opponentOffer();
    if (offer && offer != offerBefore) out_ << "offer " << offerName(offer->kind) << " at " << offer->halfMove << '\n';
    if (refusedNow_) {
        writeLine("refused");
    } else if (changed_ && stateLine("") != lastState_) {
        writeLine("opponent");
    }
    if (game_->opponentLeft() && !leftBefore) out_ << "say The opponent left the game.\n";
}

// Plays every token that is ready. A token's own events (the link going
// down at `disconnect`) come back here; they wait for the token to finish.
void PeerDriver::step()
{
    if (stepping_) return;
    stepping_ = true;
    // The opponent may have been there before we knew who they were.
    opponentSeen_ = opponentSeen_ || link_->opponentPresent();
    noteTurn();
    while (!finishing_ && nextToken_ < script_.tokens.size() && ready(script_.tokens[nextToken_])) {
        play(script_.tokens[nextToken_++]);
        noteTurn();
    }
    stepping_ = false;
    checkDone();
}

// Nothing will come of waiting any more.
bool PeerDriver::over() const
{
    return gameOver_ || declined_ || game_->opponentLeft();
}

// Whose turn it is in the agreed game, also while the local player browses
// the history (which the session does not count as their turn).
void PeerDriver::noteTurn()
{
    if (game_ && room_.halfMoves() == game_->state().agreedHalfMove) ourTurn_ = game_->localTurn();
}

bool PeerDriver::ready(const std::string& token) const
{
    if (pausing_ || !game_ || !game_->started()) return false;
    if (token == "accept" || token == "decline") return game_->opponentOffer().has_value() || over();
    if (token == "disconnect") return link_->isUp() && game_->state().unacknowledged.empty();
    if (token == "reconnect" || token == "pause") return true;
    if (token == "await-offline") return opponentSeen_ && !link_->opponentPresent();
    if (over()) return true;
    // The local player waits for the answer to their own offer.
    if (game_->ownOffer()) return false;
    return squareToken(token) ? game_->localTurn() : ourTurn_;
}

void PeerDriver::play(const std::string& token)
{
    if (const auto square = squareToken(token)) {
        click(*square);
    } else if (const auto command = viewCommands().find(token); command != viewCommands().end()) {
        remote::RemoteGame::LocalInput input(*game_);
        (room_.*command->second)();
    } else if (token == "offer-draw") {
        game_->offerDraw();
    } else if (token == "take-back") {
        game_->requestTakeBack();
    } else if (token == "resign") {
        game_->resign();
    } else if (token == "accept" || token == "decline") {
        game_->answerOffer(token == "accept");
    } else if (token == "disconnect") {
        link_->close();
    } else if (token == "reconnect") {
        timing("reconnect");
        link_->open();
    } else if (token == "await-offline") {
        opponentSeen_ = false;
    } else if (token == "pause") {
        pausing_ = true;
        QTimer::singleShot(kPauseMilliseconds, this, [this] {
            pausing_ = false;
            step();
        });
    }
    writeLine(token);
}

void PeerDriver::click(int square)
{
    clickNanoseconds_ = nowNanoseconds();
    remote::RemoteGame::LocalInput input(*game_);
    room_.clickSquare(square);
}

void PeerDriver::checkDone()
{
    noteGameOver();
    if (finishing_ || !game_ || nextToken_ < script_.tokens.size()) return;
    if (over() && game_->state().unacknowledged.empty()) finish(0);
}

void PeerDriver::finish(int status)
{
    if (finishing_) return;
    finishing_ = true;
    if (status == 0 && !script_.save.empty()) {
        if (const auto error = writeSavedGame(script_.save, room_.savedGame())) {
            err_ << "palisade-cli peer: could not save " << script_.save << ": " << error->reason << ".\n";
            status = kExitRefused;
        }
    }
    out_.flush();
    // The last acknowledgement must reach the opponent: the link says it is
    // down at once, but writes out what it holds while the loop runs on.
    if (!link_ || !link_->isUp()) {
        QCoreApplication::exit(status);
        return;
    }
    connect(link_.get(), &PeerLink::down, this,
            [this, status] { QTimer::singleShot(kFlushMilliseconds, this, [status] { QCoreApplication::exit(status); }); });
    QTimer::singleShot(kClosingMilliseconds, this, [status] { QCoreApplication::exit(status); });
    link_->close();
}

void PeerDriver::giveUp()
{
    err_ << "palisade-cli peer: gave up after " << script_.timeoutSeconds << " seconds ";
    if (nextToken_ < script_.tokens.size()) {
        err_ << "waiting to play token " << nextToken_ + 1 << " (" << script_.tokens[nextToken_] << ")\n";
    } else if (!game_ || !game_->started()) {
        err_ << "waiting for the game to start\n";
    } else {
        err_ << "waiting for the end of the game\n";
    }
    finish(kExitTimedOut);
}

void PeerDriver::noteGameOver()
{
    if (room_.result() && room_.halfMoves() == room_.history().lastHalfMove()) gameOver_ = true;
}

std::string PeerDriver::stateLine(const std::string& label) const
{
    std::ostringstream line;
    writeState(line, label, room_);
    return line.str();
}

void PeerDriver::writeLine(const std::string& label)
{
    out_ << stateLine(label);
    lastState_ = stateLine("");
}

void PeerDriver::timing(const std::string& what)
{
    if (script_.timing) out_ << "timing " << what << ' ' << room_.halfMoves() << ' ' << nowNanoseconds() << '\n';
}

void PeerDriver::send(const std::string& message)
{
    if (script_.timing) {
        const auto decoded = remote::decode(message);
        const auto* wire = std::get_if<remote::WireMessage>(&decoded);
        if (wire && std::holds_alternative<remote::MoveMessage>(wire->body)) {
            out_ << "timing sent " << std::get<remote::MoveMessage>(wire->body).halfMove + 1 << ' '
                 << clickNanoseconds_ << ' ' << message.size() << '\n';
        }
    }
    link_->send(message);
}

void PeerDriver::chatArrived(std::string_view text)
{
    out_ << "chat " << text << '\n';
}

void PeerDriver::refused(std::string_view reason)
{
    refusedNow_ = true;
    out_ << "refused " << reason << '\n';
}

// Nothing replaces the game without the player's word, and a script gives none.
void PeerDriver::resyncProposed()
{
    out_ << "say The opponent proposed its own game; it is declined.\n";
    QTimer::singleShot(0, this, [this] {
        if (game_) game_->declineResync();
    });
}

void PeerDriver::newGameStarted()
{
    writeLine("new");
}

void PeerDriver::inviteAnswered(bool accepted)
{
    out_ << "say The invitation was " << (accepted ? "accepted" : "declined") << ".\n";
    declined_ = !accepted;
}

} // namespace palisade
