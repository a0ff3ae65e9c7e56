// Photographs the real game room on the X server in every theme and piece
// style, with a check, a selected piece and its marks showing, and the
// preferences dialog with its preview:
//   palisade-look-shots OUT-DIR PREFIX
// writes OUT-DIR/PREFIX-THEME-STYLE.png and OUT-DIR/PREFIX-preferences.png.

#include "render/board_view.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"
#include "shell/preferences_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <cstdio>

using namespace palisade;

namespace {

QString fileNameOf(const QString& text) { return text.toLower().replace(' ', '-'); }

bool photograph(const QString& path)
{
    QTest::qWait(300);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(path);
}

void playTo(GameRoomWindow& window, int from, int to)
{
    window.room().clickSquare(from);
    window.room().clickSquare(to);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: palisade-look-shots OUT-DIR PREFIX\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    Forms forms;
    // A game an earlier run left unsaved would be asked about first.
    QFile::remove(forms.recoveryPath());
    forms.showGameRoom();
    GameRoomWindow& window = *forms.gameRoom();
    window.showMaximized();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    // Black's king on 38 checked from two half-boards below, and selected with its marks.
    for (const auto& [from, to] : {std::pair{1, 2}, {38, 37}, {32, 1}, {47, 38}, {1, 100}}) playTo(window, from, to);
    window.room().clickSquare(38);
    for (const QString& theme : boardThemeNames()) {
        for (const PieceStyle style : {PieceStyle::Carved, PieceStyle::LetteredDisc}) {
            Preferences look = window.preferences();
            look.board.theme = theme;
            look.board.pieceStyle = style;
            window.applyPreferences(look);
            const QString name = prefix + "-" + fileNameOf(theme) + "-" + fileNameOf(pieceStyleName(style)) + ".png";
            if (!photograph(out.filePath(name))) return 1;
        }
    }
    Preferences shown = window.preferences();
    shown.board.theme = kColourBlindThemeName;
    PreferencesDialog dialog(shown, &window);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
    if (!photograph(out.filePath(prefix + "-preferences.png"))) return 1;
    dialog.close();
    window.room().setUp();
    QFile::remove(forms.recoveryPath());
    return 0;
}
