#pragma once

#include "gameroom/display_scale.h"
#include "gameroom/saved_game.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

namespace palisade {

class AboutBox;
class GameRoomWindow;
class HelpWindow;
class RulesMenu;
class StartScreen;

// The program's windows, each made on first use and then reused, and the way
// between them: the game room replaces the start screen while it is open.
class Forms : public QObject {
    Q_OBJECT
public:
    Forms();
    ~Forms() override;

    const DisplayScale& displayScale() const { return scale_; }

    StartScreen& startScreen();
    // Null while no game room is open.
    GameRoomWindow* gameRoom() const;

    void showStartScreen();
    void showGameRoom();
    void showAbout();
    void showRules();
    void showHelp();

    // The saved game last opened or saved, kept for the whole run: entering
    // the game room again reopens it.
    const QString& fileName() const { return fileName_; }
    void rememberFileName(const QString& fileName) { fileName_ = fileName; }

    // Opens a saved game into the game room; false, after telling the player
    // why, when it cannot be read. The game room is not opened then.
    bool openSavedGame(const QString& path);
    // "Open Saved Game": asks for a file first.
    void chooseAndOpenSavedGame();

    // Where the running game is kept safe, in the user's data directory; empty
    // when the system names none.
    QString recoveryPath() const;
    // A game left unsaved when the program last stopped waits there.
    bool hasRecoveredGame() const;
    // Opens it in the game room, unsaved and under no name; a file that cannot
    // be read is discarded after telling the player why.
    void resumeRecoveredGame();
    // Another game is about to take the game room: a game left unsaved would be
    // overwritten by its first move, so the player is asked first. True when
    // none waits or the player agreed, and then it is gone; false leaves it.
    bool agreeToDiscardRecoveredGame(QWidget* parent);

    // The game room became active: the start screen steps aside.
    void gameRoomActivated();
    // The game room closed: the start screen comes back.
    void gameRoomClosed();

private:
    void createGameRoom();
    void raiseGameRoom();
    // The checked game at `path`, or nothing after telling the player why.
    static std::optional<SavedGame> readOrTell(QWidget* parent, const QString& path);

    DisplayScale scale_;
    QString fileName_;
    StartScreen* startScreen_ = nullptr;
    QPointer<AboutBox> aboutBox_;
    QPointer<RulesMenu> rulesMenu_;
    QPointer<HelpWindow> help_;
    QPointer<GameRoomWindow> gameRoom_;
};

} // namespace palisade
