#include "render/theme.h"

#include <algorithm>

namespace palisade {

namespace {

// The walnut and maple of the board's first colours.
BoardTheme classic()
{
    BoardTheme theme;
    theme.name = "Classic";
    theme.background = QColor(0x2e, 0x3b, 0x33);
    theme.lightSquare = QColor(0xe8, 0xd3, 0xa9);
    theme.darkSquare = QColor(0x9c, 0x6b, 0x43);
    theme.selectedSquare = QColor(0xf2, 0xc9, 0x4c);
    theme.boardEdge = QColor(0x4a, 0x2f, 0x1b);
    theme.coordinateInk = QColor(0xe8, 0xd3, 0xa9);
    theme.markInk = QColor(0xd0, 0x1c, 0x1c);
    theme.markHalo = QColor(255, 250, 235, 150);
    theme.lastMoveTint = QColor(155, 199, 0, 120);
    theme.attackedKingTint = QColor(220, 30, 30, 180);
    theme.attackerTint = QColor(255, 140, 0, 170);
    theme.attackLineTint = QColor(220, 30, 30, 70);
    theme.attackInk = QColor(0xb0, 0x10, 0x10);
    theme.arrowHalo = QColor(255, 250, 235, 190);
    theme.cursorInk = QColor(0x1e, 0x6e, 0xff);
    theme.cursorHalo = Qt::white;
    theme.dropInk = QColor(0x1f, 0x8a, 0x3b);
    theme.refusedDropInk = QColor(0x55, 0x55, 0x55);
    theme.dropHalo = Qt::white;
    theme.white = {QColor(0xff, 0xfc, 0xf2), QColor(0xde, 0xc9, 0x9e), QColor(0x2b, 0x1d, 0x14)};
    theme.black = {QColor(0x5a, 0x48, 0x3b), QColor(0x17, 0x11, 0x0d), QColor(0xf3, 0xe7, 0xcc)};
    return theme;
}

// Cool greys and blue for a dim room.
BoardTheme slate()
{
    BoardTheme theme = classic();
    theme.name = "Slate";
    theme.background = QColor(0x1f, 0x26, 0x30);
    theme.lightSquare = QColor(0xc8, 0xd2, 0xdc);
    theme.darkSquare = QColor(0x5d, 0x72, 0x87);
    theme.selectedSquare = QColor(0xf0, 0xc7, 0x5e);
    theme.boardEdge = QColor(0x2b, 0x36, 0x44);
    theme.coordinateInk = QColor(0xd8, 0xe0, 0xe8);
    theme.lastMoveTint = QColor(120, 200, 150, 140);
    theme.cursorInk = QColor(0xff, 0x8c, 0x00);
    theme.white = {QColor(0xff, 0xff, 0xff), QColor(0xd4, 0xdb, 0xe3), QColor(0x1a, 0x22, 0x2c)};
    theme.black = {QColor(0x44, 0x4c, 0x58), QColor(0x0e, 0x12, 0x18), QColor(0xe6, 0xec, 0xf2)};
    return theme;
}

// Pure white and deep grey squares, black and white pieces, loud aids.
BoardTheme highContrast()
{
    BoardTheme theme;
    theme.name = "High contrast";
    theme.background = Qt::black;
    theme.lightSquare = Qt::white;
    theme.darkSquare = QColor(0x4a, 0x4a, 0x4a);
    theme.selectedSquare = QColor(0xff, 0xd8, 0x00);
    theme.boardEdge = QColor(0x80, 0x80, 0x80);
    theme.coordinateInk = Qt::white;
    theme.markInk = QColor(0x00, 0xa8, 0xff);
    theme.markHalo = QColor(0, 0, 0, 220);
    theme.lastMoveTint = QColor(170, 255, 0, 150);
    theme.attackedKingTint = QColor(255, 0, 0, 210);
    theme.attackerTint = QColor(255, 150, 0, 210);
    theme.attackLineTint = QColor(255, 0, 0, 90);
    theme.attackInk = QColor(0xff, 0x00, 0x00);
    theme.arrowHalo = QColor(0, 0, 0, 220);
    theme.cursorInk = QColor(0xff, 0x00, 0xff);
    theme.cursorHalo = Qt::black;
    theme.dropInk = QColor(0x00, 0xe0, 0x40);
    theme.refusedDropInk = QColor(0x90, 0x90, 0x90);
    theme.dropHalo = Qt::black;
    theme.white = {Qt::white, QColor(0xf0, 0xf0, 0xf0), Qt::black};
    theme.black = {QColor(0x10, 0x10, 0x10), Qt::black, Qt::white};
    return theme;
}

// Colours told apart by lightness and by the blue-yellow and red-cyan axes
// at once, so each pair that must differ still differs when one kind of cone
// is missing: olive and moss squares, a violet mark, a teal last move, a
// purple king in check and lime attackers; plain white and black pieces,
// which also stand out on every tint.
BoardTheme colourBlindSafe()
{
    BoardTheme theme;
    theme.name = kColourBlindThemeName;
    theme.background = QColor(0x20, 0x20, 0x24);
    theme.lightSquare = QColor(143, 130, 78);
    theme.darkSquare = QColor(55, 79, 56);
    theme.selectedSquare = QColor(255, 200, 120);
    theme.boardEdge = QColor(0x28, 0x28, 0x28);
    theme.coordinateInk = QColor(235, 235, 235);
    theme.markInk = QColor(111, 3, 237);
    theme.markHalo = QColor(255, 255, 255, 190);
    theme.lastMoveTint = QColor(88, 142, 151, 230);
    theme.attackedKingTint = QColor(98, 0, 169, 230);
    theme.attackerTint = QColor(115, 249, 3, 230);
    theme.attackLineTint = QColor(98, 0, 169, 90);
    theme.attackInk = QColor(40, 0, 60);
    theme.arrowHalo = QColor(255, 255, 255, 200);
    theme.cursorInk = Qt::black;
    theme.cursorHalo = Qt::white;
    theme.dropInk = QColor(0, 90, 255);
    theme.refusedDropInk = QColor(128, 128, 128);
    theme.dropHalo = Qt::white;
    theme.white = {QColor(249, 249, 249), QColor(217, 217, 217), Qt::black};
    theme.black = {Qt::black, Qt::black, Qt::white};
    return theme;
}

} // namespace

QStringList pieceStyleNames() { return {"Carved", "Lettered discs"}; }

QString pieceStyleName(PieceStyle style) { return pieceStyleNames().at(static_cast<int>(style)); }

PieceStyle pieceStyleNamed(const QString& name)
{
    return name == pieceStyleName(PieceStyle::LetteredDisc) ? PieceStyle::LetteredDisc : PieceStyle::Carved;
}

const std::vector<BoardTheme>& boardThemes()
{
    static const std::vector<BoardTheme> themes = {classic(), slate(), highContrast(), colourBlindSafe()};
    return themes;
}

QStringList boardThemeNames()
{
    QStringList names;
    for (const BoardTheme& theme : boardThemes()) names << theme.name;
    return names;
}

const BoardTheme& defaultBoardTheme() { return boardThemes().front(); }

const BoardTheme& boardThemeNamed(const QString& name)
{
    const auto& themes = boardThemes();
    const auto found = std::find_if(themes.begin(), themes.end(), [&name](const BoardTheme& theme) { return theme.name == name; });
    return found != themes.end() ? *found : defaultBoardTheme();
}

PieceLook pieceLookOf(const BoardTheme& theme, PieceStyle style) { return {style, theme.white, theme.black}; }

} // namespace palisade
