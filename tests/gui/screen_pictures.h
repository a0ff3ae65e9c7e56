#pragma once

// Reading the real screen of an X server: the root window as the player sees
// it, and where each piece's picture really stands on it.

#include "render/board_view.h"
#include "shell/game_room_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPolygonF>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace palisade {

// The whole screen in device pixels, after every pending paint reached it.
inline QImage grabScreen(GameRoomWindow& window)
{
    window.boardView().repaint();
    QCoreApplication::processEvents();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

inline double screenRatio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

// A point of the board picture's own plane, in the screen's device pixels.
inline QPointF toScreen(BoardView& board, QPointF picturePoint)
{
    const QPointF widgetPoint = board.pictureTransform().map(picturePoint);
    const QPointF global = board.mapToGlobal(widgetPoint);
    const QPointF origin = QGuiApplication::primaryScreen()->geometry().topLeft();
    return (global - origin) * screenRatio();
}

inline QPolygonF toScreen(BoardView& board, const QPolygonF& picturePolygon)
{
    QPolygonF polygon;
    for (const QPointF& point : picturePolygon) polygon << toScreen(board, point);
    return polygon;
}

// Where a picture was found on the screen: the device pixels it covers.
struct FoundPicture {
    std::vector<QPoint> pixels;
    QRect bounds;

    // Its lowest row, and the middle of that row.
    int base() const { return bounds.bottom(); }
    QPointF baseMiddle() const
    {
        double sum = 0;
        int count = 0;
        for (const QPoint& p : pixels) {
            if (p.y() == base()) {
                sum += p.x();
                ++count;
            }
        }
        return {sum / count, double(base())};
    }
    // A pixel of the picture whose neighbours all belong to it too, chosen by
    // `better` (e.g. the highest one, the rightmost one).
    template <typename Better> QPoint solidPixel(const std::vector<bool>& mask, int width, Better better) const
    {
        std::optional<QPoint> best;
        for (const QPoint& p : pixels) {
            bool solid = true;
            for (int dy = -1; dy <= 1 && solid; ++dy)
                for (int dx = -1; dx <= 1 && solid; ++dx) solid = mask[(p.y() + dy) * width + p.x() + dx];
            if (solid && (!best || better(p, *best))) best = p;
        }
        return best.value_or(bounds.center());
    }
};

// The pixels where two pictures of the same screen differ by more than
// `threshold` levels in any colour.
inline std::vector<bool> differingPixels(const QImage& a, const QImage& b, int threshold)
{
    std::vector<bool> mask(std::size_t(a.width()) * a.height(), false);
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d = std::max({std::abs(qRed(rowA[x]) - qRed(rowB[x])), std::abs(qGreen(rowA[x]) - qGreen(rowB[x])),
                                    std::abs(qBlue(rowA[x]) - qBlue(rowB[x]))});
            mask[std::size_t(y) * a.width() + x] = d > threshold;
        }
    }
    return mask;
}

// The connected areas of a mask (eight neighbours), each with its pixels;
// specks of fewer than `least` pixels are left out.
inline std::vector<FoundPicture> areasOf(const std::vector<bool>& mask, int width, int height, int least)
{
    std::vector<bool> seen(mask.size(), false);
    std::vector<FoundPicture> areas;
    for (int start = 0; start < int(mask.size()); ++start) {
        if (!mask[start] || seen[start]) continue;
        FoundPicture area;
        std::vector<int> todo{start};
        seen[start] = true;
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            const QPoint p(at % width, at / width);
            area.pixels.push_back(p);
            area.bounds = area.bounds.isNull() ? QRect(p, QSize(1, 1)) : area.bounds.united(QRect(p, QSize(1, 1)));
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = p.x() + dx;
                    const int y = p.y() + dy;
                    if (x < 0 || y < 0 || x >= width || y >= height) continue;
                    const int next = y * width + x;
                    if (mask[next] && !seen[next]) {
                        seen[next] = true;
                        todo.push_back(next);
                    }
                }
            }
        }
        if (int(area.pixels.size()) >= least) areas.push_back(std::move(area));
    }
    return areas;
}

// Runs xdotool with the given words; false when it could not run or failed.
inline bool xdotool(const QStringList& words)
{
    QProcess process;
    process.start("xdotool", words);
    return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// A real click of the X server's pointer at a point of the screen, in device pixels.
inline bool clickScreenAt(QPoint point)
{
    // "click" waits a while after the press; a press and a release are the same click, sooner.
    return xdotool({"mousemove", QString::number(point.x()), QString::number(point.y()), "mousedown", "1", "mouseup", "1"});
}

} // namespace palisade
