#pragma once

#include "computer/players.h"
#include "gameroom/game_room.h"
#include "gameroom/game_text.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <string_view>

class QWidget;

namespace palisade {

// The game as plain text from the window: written to a file or the
// clipboard, and read back from either into the game room.
class GameTextActions {
public:
    using Tell = std::function<void(std::string_view)>;
    // The path a file dialog gave, empty when cancelled; `forSaving` for export.
    using ChoosePath = std::function<QString(bool forSaving)>;

    GameTextActions(QWidget& window, GameRoom& room, std::function<Players()> players, Tell tell);

    void exportToFile();
    void copyToClipboard();
    void importFromFile();
    void pasteFromClipboard();

    // Tests answer the file dialogs themselves.
    void setPathChooser(ChoosePath choose) { choosePath_ = std::move(choose); }

private:
    std::optional<std::string> textOfGame();
    void adopt(const std::variant<SavedGame, TextError>& imported);
    QString askPath(bool forSaving);

    QWidget& window_;
    GameRoom& room_;
    std::function<Players()> players_;
    Tell tell_;
    ChoosePath choosePath_;
};

} // namespace palisade
