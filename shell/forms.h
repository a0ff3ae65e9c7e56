#pragma once

#include "gameroom/display_scale.h"

#include <QObject>
#include <QPointer>

namespace palisade {

class AboutBox;
class GameRoomWindow;
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

    // The game room became active: the start screen steps aside.
    void gameRoomActivated();
    // The game room closed: the start screen comes back.
    void gameRoomClosed();

private:
    DisplayScale scale_;
    StartScreen* startScreen_ = nullptr;
    QPointer<AboutBox> aboutBox_;
    QPointer<GameRoomWindow> gameRoom_;
};

} // namespace palisade
