#include "render/tutorial_pictures.h"

#include "engine/castling.h"
#include "engine/targets.h"
#include "render/board_geometry.h"
#include "render/board_painter.h"
#include "render/pictures.h"
#include "render/piece_painter.h"

#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace palisade::tutorial_pictures {

namespace {

using Placement = std::initializer_list<std::pair<int, int>>;

// The middle of the block: half-board 2, rw b, colmn 4, where every kind of
// move has room in all directions.
constexpr int kMiddle = 43;

Position emptyBlockWith(Placement pieces)
{
    Position position;
    for (const auto& [square, code] : pieces) position.squares[square] = code;
    return position;
}

Scene pieceScene(Position position, int mover, std::vector<int> crosses)
{
    Scene scene;
    scene.position = std::move(position);
    scene.movers = {mover};
    scene.crosses = std::move(crosses);
    return scene;
}

// Forward, the four captures (one by en passant); never backwards.
Scene pawnScene()
{
    Position position = emptyBlockWith({{44, kWhitePawn},
                                        {37, kBlackPawn},
                                        {53, kBlackRook},
                                        {13, kBlackKnight},
                                        {76, kBlackPawn},
                                        {35, kBlackBishop}});
    position.enPassantSquare = 76; // it has just come from 78
    Scene scene = pieceScene(position, 44, {43, 35});
    scene.lastBoard = 2;
    scene.firstColmn = 2;
    scene.lastColmn = 6;
    return scene;
}

// Along all three axes up to the first piece; no diagonal step.
Scene rookScene()
{
    return pieceScene(
        emptyBlockWith({{kMiddle, kWhiteRook}, {46, kBlackKnight}, {107, kWhitePawn}}), kMiddle,
        {kMiddle + 9, kMiddle + 33});
}

// No diagonal in the plane of half-board and rw: those keep the distance.
Scene bishopScene()
{
    return pieceScene(
        emptyBlockWith({{kMiddle, kWhiteBishop}, {105, kBlackKnight}, {61, kWhitePawn}}), kMiddle,
        {kMiddle - 40, kMiddle - 24, kMiddle + 24, kMiddle + 40});
}

// No jump in the plane of half-board and rw: those keep the distance.
Scene knightScene()
{
    return pieceScene(emptyBlockWith({{kMiddle, kWhiteKnight}, {60, kBlackPawn}}), kMiddle,
                      {kMiddle - 16, kMiddle + 48, kMiddle + 56, kMiddle + 72});
}

// The start position with the squares between the White kings and their rooks
// cleared; king A shows its castles.
Scene castleScene(std::initializer_list<int> cleared)
{
    Scene scene;
    scene.position = standardPosition();
    for (int square : cleared) scene.position.squares[square] = kEmpty;
    scene.movers = {40};
    scene.castlesOnly = true;
    scene.lastColmn = 1;
    return scene;
}

Scene kingsideScene() { return castleScene({8, 32, 88, 112}); }

Scene queensideScene() { return castleScene({16, 48, 56, 64, 72, 104}); }

// The same position after king A has castled onto `landing`: the king and its
// rook where the game puts them.
Scene castledScene(Scene before, int landing, int mark)
{
    Scene after = before;
    Board& squares = after.position.squares;
    const int king = before.movers.front();
    squares[landing] = squares[king];
    squares[king] = kEmpty;
    after.arrows = {{king, landing}};
    if (const auto rook = castleRookMove(landing, mark)) {
        squares[rook->from] = kEmpty;
        squares[rook->to] = rook->code;
        after.arrows.push_back({rook->from, rook->to});
    }
    after.movers.clear();
    return after;
}

// The castling king points at the squares it may land on.
void pointFromKings(Scene& scene)
{
    for (int king : scene.movers) {
        for (int landing : ringedSquares(scene.position, {king}, true)) {
            scene.arrows.push_back({king, landing});
        }
    }
}

Scene layOut(Picture picture)
{
    switch (picture) {
    case Picture::Pawn: return pawnScene();
    case Picture::Rook: return rookScene();
    case Picture::Bishop: return bishopScene();
    case Picture::Knight: return knightScene();
    case Picture::KingsideCastle: return kingsideScene();
    case Picture::KingsideCastled: return castledScene(kingsideScene(), 32, kKingsideCastleMark);
    case Picture::QueensideCastle: return queensideScene();
    case Picture::QueensideCastled: return castledScene(queensideScene(), 56, kQueensideCastleMark);
    case Picture::StartPosition: break;
    }
    Scene scene;
    scene.position = standardPosition();
    return scene;
}

// The squares in view with room above them for the tallest piece and below
// for the half-boards' edges.
QRectF viewRect(const Scene& scene)
{
    QRectF view;
    for (int boards = scene.firstBoard; boards <= scene.lastBoard; ++boards) {
        for (int rw = 0; rw < 4; ++rw) {
            for (int colmn = scene.firstColmn; colmn <= scene.lastColmn; ++colmn) {
                const int square = indexOf(boards, rw, colmn);
                view |= board_geometry::squareOutline(square).boundingRect();
                view |= board_geometry::pieceBox(square, kWhiteKing);
            }
        }
    }
    return view.adjusted(-10, -6, 10, 14);
}

// Maps the view onto `target`, as large as fits and centred; nothing when
// there is no room.
std::optional<QTransform> placement(const QRectF& view, const QRectF& target)
{
    const double scale = std::min(target.width() / view.width(), target.height() / view.height());
    if (!(scale > 0.0)) return std::nullopt;
    const QSizeF size = view.size() * scale;
    const QPointF corner = target.center() - QPointF(size.width() / 2, size.height() / 2);
    return QTransform::fromTranslate(corner.x(), corner.y())
        .scale(scale, scale)
        .translate(-view.left(), -view.top());
}

void paintScene(QPainter& painter, const Scene& scene)
{
    board_painter::paintHalfBoards(painter, scene.movers.size() == 1 ? scene.movers.front() : -1);
    board_painter::paintPieces(painter, scene.position.squares);
    for (const auto& [from, to] : scene.arrows) {
        board_painter::paintArrow(painter, board_geometry::markCentre(from), board_geometry::markCentre(to),
                                  QColor(0x1d, 0x4e, 0x9e));
    }
    board_painter::paintMarks(painter, [&scene](int square) {
        return std::find(scene.circles.begin(), scene.circles.end(), square) != scene.circles.end();
    });
    for (int square : scene.crosses) paintCross(painter, board_geometry::markBox(square));
}

} // namespace

std::vector<int> ringedSquares(const Position& position, const std::vector<int>& movers,
                               bool castlesOnly)
{
    std::vector<int> squares;
    for (int mover : movers) {
        for (const Target& target : generateTargets(position, mover)) {
            if (!castlesOnly || target.mark >= kKingsideCastleMark)
                squares.push_back(target.square);
        }
    }
    std::sort(squares.begin(), squares.end());
    squares.erase(std::unique(squares.begin(), squares.end()), squares.end());
    return squares;
}

Scene scene(Picture picture)
{
    Scene scene = layOut(picture);
    scene.circles = ringedSquares(scene.position, scene.movers, scene.castlesOnly);
    if (picture == Picture::KingsideCastle || picture == Picture::QueensideCastle)
        pointFromKings(scene);
    return scene;
}

QSizeF naturalSize(Picture picture) { return viewRect(scene(picture)).size(); }

void paint(QPainter& painter, const Scene& scene, const QRectF& target)
{
    const QRectF view = viewRect(scene);
    const auto placed = placement(view, target);
    if (!placed) return;
    const QRectF frame = placed->mapRect(view);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(board_painter::background());
    painter.drawRoundedRect(frame, 6, 6);
    painter.setClipRect(frame);
    painter.setTransform(*placed, true);
    paintScene(painter, scene);
    painter.restore();
}

std::vector<QRectF> pieceBoxes(const Scene& scene, const QRectF& target)
{
    const QRectF view = viewRect(scene);
    const auto placed = placement(view, target);
    std::vector<QRectF> boxes;
    if (!placed) return boxes;
    const QRectF frame = placed->mapRect(view);
    for (int boards = scene.firstBoard; boards <= scene.lastBoard; ++boards) {
        for (int rw = 0; rw < 4; ++rw) {
            for (int colmn = scene.firstColmn; colmn <= scene.lastColmn; ++colmn) {
                const int square = indexOf(boards, rw, colmn);
                const int code = scene.position.squares[square];
                if (!isPiece(code)) continue;
                const QRectF bounds = pieceBounds(code, board_geometry::pieceBox(square, code));
                if (!bounds.isEmpty()) boxes.push_back(placed->mapRect(bounds) & frame);
            }
        }
    }
    return boxes;
}

QPixmap pixmap(Picture picture, QSize size, qreal devicePixelRatio)
{
    return paintedPicture(size, devicePixelRatio, [picture, size](QPainter& painter) {
        paint(painter, scene(picture), QRectF(QPointF(0, 0), QSizeF(size)));
    });
}

void paintCross(QPainter& painter, const QRectF& box)
{
    if (box.isEmpty()) return;
    const qreal arm = 0.24 * std::min(box.width(), box.height());
    const QPointF c = box.center();
    QPainterPath cross;
    cross.moveTo(c + QPointF(-arm, -arm));
    cross.lineTo(c + QPointF(arm, arm));
    cross.moveTo(c + QPointF(arm, -arm));
    cross.lineTo(c + QPointF(-arm, arm));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // A pale halo keeps the X readable on dark squares and over pieces.
    painter.setPen(QPen(QColor(255, 250, 235, 170), arm * 0.75, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cross);
    painter.setPen(QPen(Qt::black, arm * 0.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(cross);
    painter.restore();
}

} // namespace palisade::tutorial_pictures
