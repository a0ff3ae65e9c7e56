#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

namespace palisade {

// How pieces are drawn: carved figures standing on their squares, or flat
// discs carrying the piece's letter.
enum class PieceStyle { Carved, LetteredDisc };

// The names the preferences show, in the order of `PieceStyle`.
QStringList pieceStyleNames();
QString pieceStyleName(PieceStyle style);
// The style with that name; the carved figures for a name not known.
PieceStyle pieceStyleNamed(const QString& name);

// One side's pieces: the fill runs from `light` at the top to `deep` at the
// foot, and `ink` draws the outline and the details.
struct PieceColours {
    QColor light;
    QColor deep;
    QColor ink;

    friend bool operator==(const PieceColours&, const PieceColours&) = default;
};

// Every colour the board picture uses. Tints are laid over the square with
// their alpha; everything else is drawn as given.
struct BoardTheme {
    QString name;
    QColor background;
    QColor lightSquare;
    QColor darkSquare;
    QColor selectedSquare;
    QColor boardEdge;
    QColor coordinateInk;
    // The target mark: a ring and a dot in `markInk` over a `markHalo`.
    QColor markInk;
    QColor markHalo;
    QColor lastMoveTint;
    // A check: the king's square, each attacker's square, the squares between
    // and the arrow from attacker to king over its `arrowHalo`.
    QColor attackedKingTint;
    QColor attackerTint;
    QColor attackLineTint;
    QColor attackInk;
    QColor arrowHalo;
    // The keyboard's cursor and a dragged piece's drop frame, each over a halo.
    QColor cursorInk;
    QColor cursorHalo;
    QColor dropInk;
    QColor refusedDropInk;
    QColor dropHalo;
    PieceColours white;
    PieceColours black;

    friend bool operator==(const BoardTheme&, const BoardTheme&) = default;
};

// Everything a piece's picture needs.
struct PieceLook {
    PieceStyle style = PieceStyle::Carved;
    PieceColours white;
    PieceColours black;

    friend bool operator==(const PieceLook&, const PieceLook&) = default;
};

// Every theme the player may choose, the board's own colours first.
const std::vector<BoardTheme>& boardThemes();
QStringList boardThemeNames();
const BoardTheme& defaultBoardTheme();
// The theme with that name; the default for a name not known.
const BoardTheme& boardThemeNamed(const QString& name);

// The theme built for the three kinds of colour blindness.
inline constexpr auto kColourBlindThemeName = "Colour-blind safe";

PieceLook pieceLookOf(const BoardTheme& theme, PieceStyle style);

} // namespace palisade
