#include "shell/forms.h"

#include "gameroom/game_file.h"
#include "shell/about_box.h"
#include "shell/clock_panel.h"
#include "shell/file_box.h"
#include "shell/game_room_window.h"
#include "shell/help_window.h"
#include "shell/rules_menu.h"
#include "shell/start_screen.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
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

// Opens a window at the size it gave itself, or else at its natural size, as
// far as the screen has room for it.
void fitToScreen(QWidget& window)
{
    QSize size = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();
    if (const QScreen* screen = window.screen()) size = size.boundedTo(screen->availableSize());
    window.resize(size);
}

} // namespace

Forms::Forms() : scale_(scaleForPrimaryScreen()) {}

Forms::~Forms()
{
    delete gameRoom_.data();
    delete aboutBox_.data();
    delete rulesMenu_.data();
    delete help_.data();
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
    // A game left unsaved is offered each time the start screen comes back.
    startScreen().offerRecoveredGame(hasRecoveredGame());
    startScreen().show();
    startScreen().raise();
}

void Forms::showGameRoom()
{
    if (!gameRoom_) {
        if (!agreeToDiscardRecoveredGame(startScreen_)) return;
        createGameRoom();
        // A game room opened again brings back the game last opened or saved.
        if (!fileName_.isEmpty()) {
            if (const auto game = readOrTell(gameRoom_, fileName_)) {
                gameRoom_->room().load(*game, fileName_.toStdString());
            }
        }
    }
    raiseGameRoom();
}

void Forms::createGameRoom()
{
    gameRoom_ = new GameRoomWindow(*this);
    fitToScreen(*gameRoom_);
}

void Forms::raiseGameRoom()
{
    gameRoom_->show();
    gameRoom_->raise();
    gameRoom_->activateWindow();
}

std::optional<SavedGame> Forms::readOrTell(QWidget* parent, const QString& path)
{
    auto game = readSavedGame(path.toStdString());
    if (const auto* error = std::get_if<FileError>(&game)) {
        QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(),
                             QString::fromStdString(couldNotOpen(path, *error)));
        return std::nullopt;
    }
    return std::get<SavedGame>(std::move(game));
}

bool Forms::openSavedGame(const QString& path)
{
    const auto game = readOrTell(gameRoom_ ? static_cast<QWidget*>(gameRoom_) : startScreen_, path);
    if (!game) return false;
    if (!gameRoom_ && !agreeToDiscardRecoveredGame(startScreen_)) return false;
    fileName_ = path;
    if (!gameRoom_) createGameRoom();
    gameRoom_->room().load(*game, path.toStdString());
    raiseGameRoom();
    return true;
}

void Forms::chooseAndOpenSavedGame()
{
    const QString path = chooseSavedGame(startScreen_, FileBoxMode::Open);
    if (!path.isEmpty()) openSavedGame(path);
}

QString Forms::recoveryPath() const
{
    const QString directory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Without a data directory there is nowhere to keep the game: writing it then fails with a word.
    if (directory.isEmpty()) return {};
    QDir().mkpath(directory);
    return directory + "/recovery.brd";
}

bool Forms::hasRecoveredGame() const { return QFileInfo::exists(recoveryPath()); }

void Forms::resumeRecoveredGame()
{
    RecoveryFile recovery(recoveryPath().toStdString());
    auto game = recovery.read();
    if (const auto* error = std::get_if<FileError>(&game)) {
        QMessageBox::warning(startScreen_, QGuiApplication::applicationDisplayName(),
                             "The unsaved game could not be recovered: " + QString::fromStdString(error->reason)
                                 + ".");
        recovery.remove();
        startScreen().offerRecoveredGame(false);
        return;
    }
    fileName_.clear();
    if (!gameRoom_) createGameRoom();
    gameRoom_->room().loadRecovered(std::get<SavedGame>(game));
    gameRoom_->clockPanel().resumeRecovered(recoveryPath().toStdString());
    raiseGameRoom();
}

bool Forms::agreeToDiscardRecoveredGame(QWidget* parent)
{
    // An open game room already keeps its own game there.
    if (gameRoom_) return true;
    const QFileInfo recovered(recoveryPath());
    if (!recovered.exists()) return true;
    const QLocale locale;
    const QDateTime written = recovered.lastModified();
    const QString when = locale.toString(written.date(), QLocale::LongFormat) + " at "
                         + locale.toString(written.time(), QLocale::ShortFormat);
    QMessageBox question(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                         "Discard the unsaved game from " + when + "?", QMessageBox::Ok | QMessageBox::Cancel,
                         parent);
    question.setObjectName("discardRecoveredGame");
    // Enter alone must not lose a game.
    question.setDefaultButton(QMessageBox::Cancel);
    if (question.exec() != QMessageBox::Ok) return false;
    RecoveryFile(recovered.filePath().toStdString()).remove();
    if (startScreen_) startScreen_->offerRecoveredGame(false);
    return true;
}

void Forms::showAbout()
{
    if (!aboutBox_) aboutBox_ = new AboutBox;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void Forms::showRules()
{
    if (!rulesMenu_) rulesMenu_ = new RulesMenu(*this);
    rulesMenu_->show();
    rulesMenu_->raise();
    rulesMenu_->activateWindow();
}

void Forms::showHelp()
{
    if (!help_) {
        help_ = new HelpWindow;
        fitToScreen(*help_);
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void Forms::gameRoomActivated()
{
    if (startScreen_) startScreen_->hide();
}

void Forms::gameRoomClosed() { showStartScreen(); }

} // namespace palisade
