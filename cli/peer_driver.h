#pragma once

#include "cli/peer_link.h"
#include "cli/peer_script.h"
#include "cli/text_view.h"
#include "gameroom/game_room.h"
#include "remote/remote_answers.h"
#include "remote/remote_game.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace palisade {

// Plays one side of a remote game from a script: the real game room and the
// real remote session, the opponent's program at the other end of a link.
// Each token waits until it makes sense (a click for the local player's
// turn, an answer for the opponent's offer); every event writes a state line.
class PeerDriver : public QObject, public remote::RemoteListener {
    Q_OBJECT
public:
    PeerDriver(PeerScript script, std::ostream& out, std::ostream& err);
    ~PeerDriver() override;

    // Sets the game up and opens the link; false (with the words on err)
    // when it cannot start. The event loop's exit status says how it ended.
    bool start();

private:
    // The link.
    void linkUp();
    void linkDown(const QString& reason);
    void arrived(const std::string& message);
    void takeInvitation(const std::string& message);
    void deliver(const std::string& message);

    // The script.
    void step();
    bool ready(const std::string& token) const;
    bool over() const;
    void noteTurn();
    void play(const std::string& token);
    void click(int square);
    void checkDone();
    void finish(int status);
    void giveUp();

    bool setUpInvitersGame();
    void setUpRoom(const std::optional<SavedGame>& saved, int winOption);
    void writeLine(const std::string& label);
    std::string stateLine(const std::string& label) const;
    void noteGameOver();
    void timing(const std::string& what);

    // What the session tells us.
    void send(const std::string& message) override;
    void remoteChanged() override { changed_ = true; }
    void agreedGameChanged() override { changed_ = true; }
    void chatArrived(std::string_view text) override;
    void refused(std::string_view reason) override;
    void resyncProposed() override;
    void newGameStarted() override;
    void inviteAnswered(bool accepted) override;

    PeerScript script_;
    std::ostream& out_;
    std::ostream& err_;
    TextView screen_;
    remote::RemoteAnswers answers_;
    GameRoom room_;
    std::unique_ptr<PeerLink> link_;
    std::unique_ptr<remote::RemoteGame> game_;
    std::optional<remote::Invite> invite_; // the inviter's, sent once the link is up
    std::size_t nextToken_ = 0;
    bool pausing_ = false;
    bool stepping_ = false;
    bool opponentSeen_ = false; // present at some time since the last await-offline
    bool declined_ = false; // our invitation
    bool gameOver_ = false;
    bool ourTurn_ = false;
    bool finishing_ = false;
    bool linkShownUp_ = false; // a joiner trying again says nothing until it is in
    bool changed_ = false;
    bool refusedNow_ = false;
    bool awaitingResume_ = false;
    std::string lastState_; // the last state line written, without its label
    std::int64_t clickNanoseconds_ = 0;
    QTimer resendTimer_;
    QTimer deadline_;
};

} // namespace palisade
