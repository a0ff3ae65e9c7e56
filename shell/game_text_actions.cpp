#include "shell/game_text_actions.h"

#include "gameroom/game_file.h"
#include "gameroom/game_text_file.h"
#include "shell/file_box.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>

namespace palisade {

namespace {

constexpr const char* kTextFilter = "Game text (*.txt)";

std::string playerName(const Player& player)
{
    return player.computer ? "Computer level " + std::to_string(player.level) : "Person";
}

} // namespace

GameTextActions::GameTextActions(QWidget& window, GameRoom& room, std::function<Players()> players, Tell tell)
    : window_(window), room_(room), players_(std::move(players)), tell_(std::move(tell))
{}

QString GameTextActions::askPath(bool forSaving)
{
    if (choosePath_) return choosePath_(forSaving);
    if (forSaving) return chooseExportFile(&window_, "Export Game Text", kTextFilter);
    return QFileDialog::getOpenFileName(&window_, "Import Game Text", QString(), kTextFilter);
}

// The text of the open game, or nothing once the player has been told why not.
std::optional<std::string> GameTextActions::textOfGame()
{
    if (room_.kingChoice()) {
        tell_("Choose the king to save first.");
        return std::nullopt;
    }
    const Players players = players_();
    GameTextHeader header;
    header.date = todayForGameText();
    header.white = playerName(players.white);
    header.black = playerName(players.black);
    const auto text = gameTextOf(room_.savedGame(), header);
    if (const auto* error = std::get_if<TextError>(&text)) {
        tell_("The game cannot be written as text: " + error->reason);
        return std::nullopt;
    }
    return writeGameText(std::get<GameText>(text));
}

void GameTextActions::exportToFile()
{
    const auto text = textOfGame();
    if (!text) return;
    const QString path = askPath(true);
    if (path.isEmpty()) return;
    if (const auto error = writeFileWhole(path.toStdString(), *text)) {
        tell_("Could not write the game text " + path.toStdString() + ": " + error->reason + ".");
    }
}

void GameTextActions::copyToClipboard()
{
    if (const auto text = textOfGame()) QGuiApplication::clipboard()->setText(QString::fromStdString(*text));
}

void GameTextActions::importFromFile()
{
    if (room_.kingChoice() || !room_.mayExit()) return;
    const QString path = askPath(false);
    if (path.isEmpty()) return;
    adopt(importGameTextFile(path.toStdString()));
}

void GameTextActions::pasteFromClipboard()
{
    if (room_.kingChoice() || !room_.mayExit()) return;
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    adopt(importGameText(text));
}

// The open game is replaced only by a game that was played through whole.
void GameTextActions::adopt(const std::variant<SavedGame, TextError>& imported)
{
    if (const auto* error = std::get_if<TextError>(&imported)) {
        tell_("The game text cannot be imported. " + error->reason);
        return;
    }
    room_.loadRecovered(std::get<SavedGame>(imported));
}

} // namespace palisade
