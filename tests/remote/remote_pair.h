#pragma once

#include "../gameroom/recording_view.h"
#include "engine/orientation.h"
#include "gameroom/saved_game.h"
#include "remote/position_hash.h"
#include "remote/remote_answers.h"
#include "remote/remote_game.h"

#include <deque>
#include <memory>

namespace palisade::remote {

// Keeps what a session tells its owner.
struct Outbox : RemoteListener {
    void send(const std::string& message) override { sent.push_back(message); }
    void agreedGameChanged() override { ++stores; }
    void chatArrived(std::string_view text) override { chats.emplace_back(text); }
    void refused(std::string_view reason) override { refusals.emplace_back(reason); }
    void resyncProposed() override { ++resyncs; }
    void newGameStarted() override { ++newGames; }
    void inviteAnswered(bool accepted) override { inviteAnswer = accepted; }

    std::deque<std::string> sent;
    std::vector<std::string> chats, refusals;
    int stores = 0, resyncs = 0, newGames = 0;
    std::optional<bool> inviteAnswer;
};

// One program: its screen, the remote answers, the room and the session.
struct Player {
    RecordingView screen;
    RemoteAnswers answers{screen};
    GameRoom room{answers};
    Outbox outbox;
    std::unique_ptr<RemoteGame> game;

    int seen(int square) const { return room.position().sidesSwitched ? turnedSquare(square) : square; }
    // A click on the board, the square named as in orientation 0.
    void click(int square)
    {
        const RemoteGame::LocalInput input(*game);
        room.clickSquare(seen(square));
    }
    void play(int from, int to)
    {
        const int before = room.movesPlayed();
        click(from);
        click(to);
        EXPECT_EQ(room.movesPlayed(), before + 1) << from << " -> " << to;
    }
    std::string bytes() const { return encodeSavedGame(room.savedGame()); }
};

inline std::string bytesOf(const GameRoom& room) { return encodeSavedGame(room.savedGame()); }

// Two programs wired back to back: White invites from `start`, Black accepts.
struct Pair {
    Player white, black;
    bool whiteHears = true, blackHears = true; // false: messages to that side are lost

    explicit Pair(const Position& start = standardPosition(), bool sendGame = false)
    {
        white.room.setUp(start);
        white.game = std::make_unique<RemoteGame>(white.room, white.answers, white.outbox,
                                                  GameSetup{newGameId(), Side::White, "bob"});
        white.game->sendInvite({Side::White, start.winOption, sendGame ? bytesOf(white.room) : ""});
        const auto invitation = std::get<WireMessage>(decode(white.outbox.sent.front()));
        white.outbox.sent.pop_front();
        const auto& invite = std::get<Invite>(invitation.body);
        if (invite.savedGame.empty()) {
            Position standard = standardPosition();
            standard.winOption = invite.winOption;
            black.room.setUp(standard);
        } else {
            black.room.loadRecovered(std::get<SavedGame>(decodeSavedGame(invite.savedGame)));
        }
        black.game = std::make_unique<RemoteGame>(black.room, black.answers, black.outbox,
                                                  GameSetup{invitation.gameId, Side::Black, "alice"});
        // The link is up before the player answers, as when the invitation
        // arrived over it: the answer must still be the invitee's first word.
        black.game->linkUp();
        black.game->acceptInvite(invitation.sequence);
        pump();
        EXPECT_EQ(white.outbox.inviteAnswer, true);
    }

    // Carries every message across until both sides are quiet.
    void pump()
    {
        for (int round = 0; round < 1000 && !(white.outbox.sent.empty() && black.outbox.sent.empty()); ++round) {
            carry(white, black, blackHears);
            carry(black, white, whiteHears);
        }
    }

private:
    static void carry(Player& from, Player& to, bool hears)
    {
        while (!from.outbox.sent.empty()) {
            const std::string message = from.outbox.sent.front();
            from.outbox.sent.pop_front();
            if (hears) to.game->received(message);
        }
    }
};

} // namespace palisade::remote
