#include "render/piece_painter.h"

#include "render/piece_disc.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPen>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

namespace palisade {

namespace {

// Every shape is drawn once in this frame (y grows downward, the piece stands
// on y = kUnitHeight) and scaled into the caller's box.
constexpr qreal kUnitWidth = 100.0;
constexpr qreal kUnitHeight = 125.0;
constexpr qreal kOutlineWidth = 3.4;
constexpr qreal kDetailWidth = 2.8;
// Below this many device pixels a scaled outline starts to break up.
constexpr qreal kMinOutlinePixels = 1.1;

constexpr int kKinds = 6;
constexpr int kBlackOffset = 6;

// Parts are filled and outlined in order, so a later part covers the joint
// with an earlier one; that seam is what gives collars and bands their edge.
// Lines are stroked and dots filled in the outline colour.
struct PieceShape {
    std::vector<QPainterPath> parts;
    QPainterPath lines;
    QPainterPath dots;
};

using Palette = PieceColours;

QPainterPath circle(QPointF centre, qreal radius)
{
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath roundBox(qreal x, qreal y, qreal w, qreal h, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

// Corners given as x, y pairs, which keeps long outlines readable.
QPainterPath polygon(std::initializer_list<qreal> coords)
{
    QPolygonF corners;
    for (auto it = coords.begin(); it + 1 < coords.end(); it += 2)
        corners << QPointF(it[0], it[1]);
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

// A body whose sides curve in from the base up to a narrow waist.
QPainterPath flaredBody(qreal baseHalf, qreal waistHalf, qreal waistY)
{
    constexpr qreal cx = kUnitWidth / 2;
    constexpr qreal baseY = 104.0;
    const qreal rise = baseY - waistY;
    QPainterPath path(QPointF(cx - baseHalf, baseY));
    path.cubicTo(cx - baseHalf + 8, baseY - rise * 0.2, cx - waistHalf - 1, baseY - rise * 0.6,
                 cx - waistHalf, waistY);
    path.lineTo(cx + waistHalf, waistY);
    path.cubicTo(cx + waistHalf + 1, baseY - rise * 0.6, cx + baseHalf - 8, baseY - rise * 0.2,
                 cx + baseHalf, baseY);
    path.closeSubpath();
    return path;
}

// The two-step plinth every piece stands on; added last so it covers the
// foot of whatever rises from it.
void addPlinth(PieceShape& shape)
{
    shape.parts.push_back(roundBox(25, 100, 50, 11, 3));
    shape.parts.push_back(roundBox(17, 109, 66, 13, 3.5));
}

// The ring where a crown or mitre sits on its body.
QPainterPath collar(qreal y, qreal half)
{
    return roundBox(kUnitWidth / 2 - half, y, 2 * half, 9, 4.5);
}

PieceShape pawnShape()
{
    PieceShape shape;
    shape.parts.push_back(circle({50, 48}, 17));
    shape.parts.push_back(flaredBody(21, 8, 70));
    shape.parts.push_back(collar(64, 16));
    addPlinth(shape);
    return shape;
}

QPainterPath knightHead()
{
    QPainterPath path(QPointF(28, 104));
    path.cubicTo(20, 88, 20, 70, 26, 58);  // back of the neck
    path.cubicTo(30, 44, 32, 34, 37, 27);  // up to the poll
    path.lineTo(43, 6);                    // ear tip
    path.lineTo(52, 21);                   // ear front
    path.cubicTo(63, 23, 72, 32, 77, 45);  // forehead
    path.cubicTo(82, 55, 88, 61, 89, 68);  // face down to the nose
    path.cubicTo(90, 76, 86, 81, 79, 81);  // muzzle
    path.quadTo(69, 81, 62, 75);           // under the jaw
    path.cubicTo(57, 86, 68, 96, 74, 104); // throat and chest
    path.closeSubpath();
    return path;
}

PieceShape knightShape()
{
    PieceShape shape;
    shape.parts.push_back(knightHead());
    addPlinth(shape);
    QPainterPath mane(QPointF(41, 26));
    mane.cubicTo(35, 40, 30, 62, 34, 100);
    shape.lines = mane;
    shape.lines.moveTo(89, 73);
    shape.lines.lineTo(81, 74);
    shape.dots.addEllipse(QPointF(61, 40), 4.2, 3.6);
    shape.dots.addEllipse(QPointF(82, 65), 2.2, 2.2);
    return shape;
}

// A cut drawn as a filled band, so it stays wider than the fine detail lines.
QPainterPath slit(QPointF from, QPointF to, qreal width)
{
    QPainterPath line(from);
    line.lineTo(to);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(line);
}

QPainterPath mitre()
{
    QPainterPath path(QPointF(37, 76));
    path.cubicTo(26, 58, 34, 36, 50, 20);
    path.cubicTo(66, 36, 74, 58, 63, 76);
    path.closeSubpath();
    return path;
}

PieceShape bishopShape()
{
    PieceShape shape;
    shape.parts.push_back(circle({50, 15}, 6.5));
    shape.parts.push_back(mitre());
    shape.parts.push_back(flaredBody(20, 8, 78));
    shape.parts.push_back(collar(71, 16));
    addPlinth(shape);
    shape.dots = slit({58, 37}, {44, 55}, 4.6);
    return shape;
}

QPainterPath rookTop()
{
    return polygon({24, 12, 37, 12, 37, 23, 44, 23, 44, 12, 56, 12, 56, 23,
                    63, 23, 63, 12, 76, 12, 76, 40, 67, 50, 33, 50, 24, 40});
}

PieceShape rookShape()
{
    PieceShape shape;
    shape.parts.push_back(polygon({35, 46, 65, 46, 67, 98, 33, 98}));
    shape.parts.push_back(rookTop());
    shape.parts.push_back(roundBox(29, 92, 42, 10, 3));
    addPlinth(shape);
    shape.lines.moveTo(27, 40);
    shape.lines.lineTo(73, 40);
    return shape;
}

QPainterPath queenCrown()
{
    return polygon(
        {32, 72, 17, 31, 31, 52, 33, 25, 43, 50, 50, 20, 57, 50, 67, 25, 69, 52, 83, 31, 68, 72});
}

PieceShape queenShape()
{
    PieceShape shape;
    shape.parts.push_back(flaredBody(21, 9, 70));
    shape.parts.push_back(queenCrown());
    for (QPointF tip :
         {QPointF(17, 31), QPointF(33, 24), QPointF(50, 18), QPointF(67, 24), QPointF(83, 31)})
        shape.parts.push_back(circle(tip, 5.5));
    shape.parts.push_back(collar(67, 19));
    addPlinth(shape);
    return shape;
}

QPainterPath kingCross()
{
    return polygon({46, 5,  54, 5,  54, 13, 62, 13, 62, 21, 54, 21,
                    54, 40, 46, 40, 46, 21, 38, 21, 38, 13, 46, 13});
}

// Two rounded lobes meeting under the cross.
QPainterPath kingCrown()
{
    QPainterPath path(QPointF(34, 72));
    path.cubicTo(30, 62, 21, 56, 22, 46);
    path.cubicTo(23, 35, 40, 31, 50, 40);
    path.cubicTo(60, 31, 77, 35, 78, 46);
    path.cubicTo(79, 56, 70, 62, 66, 72);
    path.closeSubpath();
    return path;
}

PieceShape kingShape()
{
    PieceShape shape;
    shape.parts.push_back(flaredBody(21, 9, 70));
    shape.parts.push_back(kingCross());
    shape.parts.push_back(kingCrown());
    shape.parts.push_back(collar(67, 19));
    addPlinth(shape);
    shape.lines.moveTo(27, 56);
    shape.lines.quadTo(50, 50, 73, 56);
    return shape;
}

// Indexed by kind - 1: pawn, knight, bishop, rook, queen, king.
const PieceShape& shapeOf(int kind)
{
    static const std::array<PieceShape, kKinds> shapes = {pawnShape(), knightShape(), bishopShape(),
                                                          rookShape(), queenShape(),  kingShape()};
    return shapes[kind - 1];
}

// Keeps the unit frame's aspect, centred across the box and standing on its
// bottom edge.
QTransform unitToBox(const QRectF& box)
{
    const qreal scale = std::min(box.width() / kUnitWidth, box.height() / kUnitHeight);
    QTransform transform;
    transform.translate(box.center().x() - scale * kUnitWidth / 2,
                        box.bottom() - scale * kUnitHeight);
    transform.scale(scale, scale);
    return transform;
}

QBrush fillBrush(const Palette& palette)
{
    QLinearGradient gradient(0, 5, 0, kUnitHeight);
    gradient.setColorAt(0.0, palette.light);
    gradient.setColorAt(1.0, palette.deep);
    return gradient;
}

QPen inkPen(const Palette& palette, qreal width)
{
    return QPen(palette.ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Unit-to-device scale, averaged over both axes so a slanted or squashed
// painter still gets a sensible figure.
qreal deviceScale(const QPainter& painter)
{
    return std::sqrt(std::abs(painter.deviceTransform().determinant()));
}

// A line this thin in unit terms could vanish once the piece is scaled down,
// so it never goes below a minimum width on the device.
qreal unitWidth(qreal wanted, qreal scale)
{
    return std::max(wanted, kMinOutlinePixels / scale);
}

void drawShape(QPainter& painter, const PieceShape& shape, const Palette& palette, qreal scale)
{
    painter.setBrush(fillBrush(palette));
    painter.setPen(inkPen(palette, unitWidth(kOutlineWidth, scale)));
    for (const QPainterPath& part : shape.parts)
        painter.drawPath(part);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(inkPen(palette, unitWidth(kDetailWidth, scale)));
    painter.drawPath(shape.lines);
    painter.fillPath(shape.dots, palette.ink);
}

// Everything of a kind's picture that is not clear, in the unit frame: its
// parts, their outlines and its stroked lines, each filled as it is painted.
std::vector<QPainterPath> silhouetteOf(int kind)
{
    const PieceShape& shape = shapeOf(kind);
    QPainterPathStroker outline;
    outline.setWidth(kOutlineWidth);
    outline.setJoinStyle(Qt::RoundJoin);
    std::vector<QPainterPath> silhouette;
    for (const QPainterPath& part : shape.parts) {
        silhouette.push_back(part);
        silhouette.push_back(outline.createStroke(part));
    }
    outline.setWidth(kDetailWidth);
    outline.setCapStyle(Qt::RoundCap);
    silhouette.push_back(outline.createStroke(shape.lines));
    return silhouette;
}

// The kind (1 pawn .. 6 king) a piece code paints, or nothing for a code that
// paints nothing.
std::optional<int> kindPainted(int code)
{
    if (code < 1 || code > 2 * kKinds) return std::nullopt;
    return code > kBlackOffset ? code - kBlackOffset : code;
}

const std::vector<QPainterPath>& silhouette(int kind)
{
    static const std::array<std::vector<QPainterPath>, kKinds> silhouettes = {
        silhouetteOf(1), silhouetteOf(2), silhouetteOf(3), silhouetteOf(4), silhouetteOf(5), silhouetteOf(6)};
    return silhouettes[kind - 1];
}

} // namespace

bool pieceCovers(int code, const QRectF& box, QPointF point, qreal reach, PieceStyle style)
{
    const auto kind = kindPainted(code);
    if (!kind || !box.adjusted(-reach, -reach, reach, reach).contains(point)) return false;
    if (style == PieceStyle::LetteredDisc) return discCovers(box, point, reach);
    const auto& paths = silhouette(*kind);
    const QTransform toUnit = unitToBox(box).inverted();
    const QPointF around[] = {{0, 0}, {reach, 0}, {-reach, 0}, {0, reach}, {0, -reach}};
    return std::any_of(std::begin(around), std::end(around), [&](QPointF step) {
        const QPointF unitPoint = toUnit.map(point + step);
        return std::any_of(paths.begin(), paths.end(), [&](const QPainterPath& path) { return path.contains(unitPoint); });
    });
}

void paintPiece(QPainter& painter, int code, const QRectF& box, const PieceLook& look)
{
    const auto kind = kindPainted(code);
    if (!kind || box.isEmpty()) return;
    const Palette& palette = code > kBlackOffset ? look.black : look.white;
    if (look.style == PieceStyle::LetteredDisc) {
        paintLetteredDisc(painter, *kind, box, palette);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setTransform(unitToBox(box), true);
    drawShape(painter, shapeOf(*kind), palette, deviceScale(painter));
    painter.restore();
}

QRectF pieceBounds(int code, const QRectF& box, PieceStyle style)
{
    const auto kind = kindPainted(code);
    if (!kind || box.isEmpty()) return {};
    if (style == PieceStyle::LetteredDisc) return discBounds(box);
    QRectF bounds;
    for (const QPainterPath& path : silhouette(*kind)) bounds |= path.boundingRect();
    return unitToBox(box).mapRect(bounds);
}

void paintTargetMark(QPainter& painter, const QRectF& box, const QColor& ink, const QColor& halo)
{
    if (box.isEmpty()) return;
    const qreal radius = 0.22 * std::min(box.width(), box.height());
    const qreal ring = radius * 0.28;
    const QPointF centre = box.center();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // A halo under the ring keeps it readable on either colour of square.
    painter.setPen(QPen(halo, ring * 1.9));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(ink, ring));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(centre, radius * 0.32, radius * 0.32);
    painter.restore();
}

} // namespace palisade
