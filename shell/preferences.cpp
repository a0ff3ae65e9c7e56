#include "shell/preferences.h"

#include <QCoreApplication>
#include <QSettings>

#include <algorithm>

namespace palisade {

namespace {

constexpr auto kCoordinates = "board/coordinates";
constexpr auto kLastMove = "board/lastMove";
constexpr auto kChecks = "board/checks";
constexpr auto kKeepSelectionOnRefusal = "play/keepSelectionOnRefusal";
constexpr auto kAutosave = "play/autosave";
constexpr auto kComputerPause = "computer/pauseBetweenMoves"; // milliseconds
constexpr auto kSearchThreads = "computer/searchThreads";

// Kept in ~/.config/palisade-brindle/preferences.ini on Linux.
constexpr auto kSettingsName = "preferences";

} // namespace

Preferences loadPreferences()
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope,
                             QCoreApplication::applicationName(), kSettingsName);
    const Preferences defaults;
    Preferences preferences;
    preferences.board.coordinates =
        settings.value(kCoordinates, defaults.board.coordinates).toBool();
    preferences.board.lastMove = settings.value(kLastMove, defaults.board.lastMove).toBool();
    preferences.board.checks = settings.value(kChecks, defaults.board.checks).toBool();
    preferences.keepSelectionOnRefusal =
        settings.value(kKeepSelectionOnRefusal, defaults.keepSelectionOnRefusal).toBool();
    preferences.autosave = settings.value(kAutosave, defaults.autosave).toBool();
    const int pause = settings.value(kComputerPause, int(defaults.computerPause.count())).toInt();
    preferences.computerPause = std::chrono::milliseconds(std::clamp(pause, 0, kMaxComputerPauseMs));
    bool readable = false;
    const int threads = settings.value(kSearchThreads, defaults.searchThreads).toInt(&readable);
    preferences.searchThreads = readable ? allowedSearchThreads(threads) : defaults.searchThreads;
    return preferences;
}

void savePreferences(const Preferences& preferences)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope,
                       QCoreApplication::applicationName(), kSettingsName);
    settings.setValue(kCoordinates, preferences.board.coordinates);
    settings.setValue(kLastMove, preferences.board.lastMove);
    settings.setValue(kChecks, preferences.board.checks);
    settings.setValue(kKeepSelectionOnRefusal, preferences.keepSelectionOnRefusal);
    settings.setValue(kAutosave, preferences.autosave);
    settings.setValue(kComputerPause, int(preferences.computerPause.count()));
    settings.setValue(kSearchThreads, preferences.searchThreads);
}

} // namespace palisade
