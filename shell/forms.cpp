#include "shell/forms.h"

#include "shell/about_box.h"
#include "shell/game_room_window.h"
#include "shell/start_screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace palisade {

namespace {

DisplayScale scaleForPrimaryScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QSize size = screen->size();
    return computeDisplayScale(size.width(), size.height());
}

// Opens a window at its natural size, as far as the screen has room for it.
void fitToScreen(QWidget& window)
{
    QSize size = window.sizeHint();
    if (const QScreen* screen = window.screen()) size = size.boundedTo(screen->availableSize());
    window.resize(size);
}

} // namespace

Forms::Forms() : scale_(scaleForPrimaryScreen()) {}

Forms::~Forms()
{
    delete gameRoom_.data();
    delete aboutBox_.data();
    delete startScreen_;
}

StartScreen& Forms::startScreen()
{
    if (!startScreen_) startScreen_ = new StartScreen(*this);
    return *startScreen_;
}

GameRoomWindow* Forms::gameRoom() const { return gameRoom_.data(); }

void Forms::showStartScreen()
{
    startScreen().show();
    startScreen().raise();
}

void Forms::showGameRoom()
{
    if (!gameRoom_) {
        gameRoom_ = new GameRoomWindow(*this);
        fitToScreen(*gameRoom_);
    }
    gameRoom_->show();
    gameRoom_->raise();
    gameRoom_->activateWindow();
}

void Forms::showAbout()
{
    if (!aboutBox_) aboutBox_ = new AboutBox;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void Forms::gameRoomActivated()
{
    if (startScreen_) startScreen_->hide();
}

void Forms::gameRoomClosed() { showStartScreen(); }

} // namespace palisade
