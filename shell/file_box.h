#pragma once

#include "gameroom/saved_game.h"

#include <QString>

class QWidget;

namespace palisade {

enum class FileBoxMode { Open, Save };

// Asks for a saved game's path with the platform's file dialog; empty when
// the player cancels. A name typed without ".brd" gets it.
QString chooseSavedGame(QWidget* parent, FileBoxMode mode);

// Asks where to write an exported picture or document; `filter` is one
// "Name (*.ext)" whose extension a name typed without one gets.
QString chooseExportFile(QWidget* parent, const QString& caption, const QString& filter);

// What the player is told when a saved game cannot be opened.
std::string couldNotOpen(const QString& path, const FileError& error);

} // namespace palisade
