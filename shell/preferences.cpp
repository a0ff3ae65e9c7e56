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
constexpr auto kShowClock = "clock/show";
// The board's look and the sounds.
constexpr auto kTheme = "board/theme";
constexpr auto kPieceStyle = "board/pieceStyle";
constexpr auto kSoundsOn = "sounds/on";
constexpr auto kSoundVolume = "sounds/volume"; // percent

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
    preferences.showClock = settings.value(kShowClock, defaults.showClock).toBool();
    preferences.board.theme = boardThemeNamed(settings.value(kTheme, defaults.board.theme).toString()).name;
    preferences.board.pieceStyle = pieceStyleNamed(settings.value(kPieceStyle).toString());
    preferences.soundsOn = settings.value(kSoundsOn, defaults.soundsOn).toBool();
    preferences.soundVolume = std::clamp(settings.value(kSoundVolume, defaults.soundVolume).toInt(), 0, 100);
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
    settings.setValue(kShowClock, preferences.showClock);
    settings.setValue(kTheme, preferences.board.theme);
    settings.setValue(kPieceStyle, pieceStyleName(preferences.board.pieceStyle));
    settings.setValue(kSoundsOn, preferences.soundsOn);
    settings.setValue(kSoundVolume, preferences.soundVolume);
}

} // namespace palisade
