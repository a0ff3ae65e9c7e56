#pragma once

#include "render/board_scene.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

class QPainter;

namespace palisade {

class GameRoom;

// What a score sheet lists besides the board.
struct ScoreSheet {
    QString title;
    QStringList details;
    QStringList moves; // the notation of every half-move, in order
    int current = 0;   // how many of them lead to the position shown
};

ScoreSheet scoreSheetOf(const GameRoom& room);

// The board as every export and the printed page draw it: the scene's frame
// filled with the board's background, its top-left at `at`, `scale` times its
// own size.
void paintSceneAt(QPainter& painter, const BoardScene& scene, QPointF at, double scale);

// The board as it stands, as a PNG picture, as an SVG drawing, and a PDF
// score sheet: the four half-boards and below them the whole game. Each is
// written beside the old file and renamed over it; the error, if any, comes
// back in words.
std::optional<QString> exportPng(const QString& path, const BoardScene& scene);
std::optional<QString> exportSvg(const QString& path, const BoardScene& scene);
std::optional<QString> exportScoreSheet(const QString& path, const BoardScene& scene,
                                        const ScoreSheet& sheet);

} // namespace palisade
