// The game room as the player sees it on a real X server: where every piece's
// picture stands on the screen, and what real clicks and drags on those
// pictures do. Run once at scale 1 and once with QT_SCALE_FACTOR=2.

#include "screen_pictures.h"

#include "engine/piece.h"
#include "render/board_geometry.h"
#include "shell/forms.h"

#include <QMessageBox>
#include <QPushButton>

#include <limits>

using namespace palisade;

namespace {

// A middle game: the standard armies with pieces spread over the middle of
// the block and some taken, the same every run.
Position middleGame()
{
    Position position = standardPosition();
    unsigned seed = 12345;
    auto next = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) % unsigned(below));
    };
    for (int moved = 0; moved < 40; ++moved) {
        const int from = next(kSquareCount);
        if (!isPiece(position.squares[from]) || kindOf(position.squares[from]) == Kind::King) continue;
        const int to = indexOf(next(4), next(4), 2 + next(4));
        if (position.squares[to] != kEmpty) continue;
        position.squares[to] = moved % 5 == 0 ? kEmpty : position.squares[from];
        position.squares[from] = kEmpty;
    }
    return position;
}

// How far a point lies from the nearest edge of a polygon.
double distanceTo(const QPolygonF& polygon, QPointF point)
{
    double nearest = std::numeric_limits<double>::max();
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        const QPointF ab = b - a;
        const double t = std::clamp(QPointF::dotProduct(point - a, ab) / QPointF::dotProduct(ab, ab), 0.0, 1.0);
        nearest = std::min(nearest, QLineF(point, a + ab * t).length());
    }
    return nearest;
}

Position emptyBoard()
{
    Position position = standardPosition();
    position.squares.fill(kEmpty);
    return position;
}

// Squares whose pictures never touch: two rows and two colmns apart.
bool inClass(int square, int parity)
{
    const Coords c = coordsOf(square);
    return (c.rw % 2) * 2 + c.colmn % 2 == parity;
}

} // namespace

class ScreenTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void piecesStandOnTheirSquares_data();
    void piecesStandOnTheirSquares();
    void aClickOnAPictureSelectsItsPiece_data();
    void aClickOnAPictureSelectsItsPiece();
    void aDraggedPieceFollowsThePointerAndMoves();
    void theFirstClickAfterAQuestionCounts();

private:
    GameRoom& room() { return window_->room(); }
    BoardView& board() { return window_->boardView(); }
    // Where each piece of `position` is really drawn, found on the screen one
    // set of non-touching pictures at a time against the empty board.
    std::map<int, FoundPicture> findPictures(const Position& position);
    QRect boardOnScreen();
    bool pointerTo(QPointF point, const char* then = nullptr);

    Forms* forms_ = nullptr;
    GameRoomWindow* window_ = nullptr;
};

void ScreenTest::initTestCase()
{
    QVERIFY2(QProcess::execute("xdotool", {"version"}) == 0, "xdotool is needed to click like a player");
    forms_ = new Forms;
    // A game an earlier run left unsaved would be asked about first.
    QFile::remove(forms_->recoveryPath());
    forms_->showStartScreen();
    forms_->showGameRoom();
    window_ = forms_->gameRoom();
    QVERIFY(window_);
    QVERIFY(QTest::qWaitForWindowExposed(window_, 10000));
    Preferences preferences = window_->preferences();
    // Tints would count as pictures; the coordinates stay, as they are drawn the same on every screen.
    preferences.board.lastMove = false;
    preferences.board.checks = false;
    window_->applyPreferences(preferences);
}

// A test that failed with the button held lets it go, so the next one starts clean.
void ScreenTest::cleanup()
{
    if (QTest::currentTestFailed()) xdotool({"mouseup", "1"});
}

void ScreenTest::cleanupTestCase() { delete forms_; }

QRect ScreenTest::boardOnScreen()
{
    const QPointF topLeft = (board().mapToGlobal(QPointF(0, 0)) - QGuiApplication::primaryScreen()->geometry().topLeft()) * screenRatio();
    return QRectF(topLeft, QSizeF(board().size()) * screenRatio()).toAlignedRect();
}

std::map<int, FoundPicture> ScreenTest::findPictures(const Position& position)
{
    room().setUp(emptyBoard());
    const QImage empty = grabScreen(*window_);
    const QRect area = boardOnScreen().intersected(empty.rect());
    // Pictures of one set stand at least 85 px apart, so a picture within 40 px is the piece's own.
    const double tolerance = 40.0 * board().pictureTransform().m11() * screenRatio();
    std::map<int, FoundPicture> found;
    for (int parity = 0; parity < 4; ++parity) {
        Position part = position;
        for (int square = 0; square < kSquareCount; ++square)
            if (!inClass(square, parity)) part.squares[square] = kEmpty;
        room().setUp(part);
        const QImage shown = grabScreen(*window_);
        const std::vector<bool> mask = differingPixels(shown.copy(area), empty.copy(area), 16);
        std::vector<FoundPicture> areas = areasOf(mask, area.width(), area.height(), 4);
        for (int square = 0; square < kSquareCount; ++square) {
            if (!isPiece(part.squares[square])) continue;
            const QRectF box = board_geometry::pieceBox(square, part.squares[square]);
            const QPointF expected = toScreen(board(), box.center()) - area.topLeft();
            // The largest area near where the piece belongs; specks inside it are its details.
            auto best = areas.end();
            for (auto it = areas.begin(); it != areas.end(); ++it) {
                if (QLineF(QPointF(it->bounds.center()), expected).length() > tolerance) continue;
                if (best == areas.end() || it->pixels.size() > best->pixels.size()) best = it;
            }
            if (best == areas.end()) continue;
            FoundPicture picture = *best;
            areas.erase(best);
            picture.bounds.translate(area.topLeft());
            for (QPoint& p : picture.pixels) p += area.topLeft();
            found[square] = std::move(picture);
        }
    }
    return found;
}

void ScreenTest::piecesStandOnTheirSquares_data()
{
    QTest::addColumn<bool>("middle");
    QTest::addColumn<QSize>("windowSize");
    QTest::newRow("standard, first size") << false << QSize();
    QTest::newRow("middle game, first size") << true << QSize();
    QTest::newRow("standard, smaller window") << false << QSize(820, 620);
    QTest::newRow("middle game, larger window") << true << QSize(1200, 960);
}

// Each piece's lowest drawn row lies on its own square's outline, give or
// take two device pixels, and stands in the middle of it.
void ScreenTest::piecesStandOnTheirSquares()
{
    QFETCH(bool, middle);
    QFETCH(QSize, windowSize);
    if (windowSize.isValid()) {
        window_->resize(windowSize);
        QTRY_COMPARE_WITH_TIMEOUT(window_->size(), windowSize.expandedTo(window_->minimumSize()), 5000);
    }
    const Position position = middle ? middleGame() : standardPosition();
    const std::map<int, FoundPicture> found = findPictures(position);
    const double slack = 2.0;
    int pieces = 0;
    for (int square = 0; square < kSquareCount; ++square) {
        if (!isPiece(position.squares[square])) continue;
        ++pieces;
        const auto it = found.find(square);
        QVERIFY2(it != found.end(), qPrintable(QString("no picture near square %1").arg(square)));
        const QPolygonF outline = toScreen(board(), board_geometry::squareOutline(square));
        const QPointF base = it->second.baseMiddle();
        const QRectF span = outline.boundingRect();
        QVERIFY2(outline.containsPoint(base, Qt::OddEvenFill) || distanceTo(outline, base) <= slack,
                 qPrintable(QString("square %1: base at (%2, %3), its square spans x %4..%5, y %6..%7")
                                .arg(square).arg(base.x()).arg(base.y())
                                .arg(span.left()).arg(span.right()).arg(span.top()).arg(span.bottom())));
    }
    QCOMPARE(int(found.size()), pieces);
}

void ScreenTest::aClickOnAPictureSelectsItsPiece_data()
{
    QTest::addColumn<bool>("black");
    QTest::newRow("White to move") << false;
    QTest::newRow("Black to move") << true;
}

// A real click in the middle of a piece's picture, on its highest solid
// pixel and on its rightmost one selects that piece, with its marks.
void ScreenTest::aClickOnAPictureSelectsItsPiece()
{
    QFETCH(bool, black);
    Position position = standardPosition();
    const std::map<int, FoundPicture> found = findPictures(position);
    QCOMPARE(int(found.size()), 64);
    if (black) position.status = Status::BlackToMove;
    room().setUp(position);
    const QImage shown = grabScreen(*window_);
    for (const auto& [square, picture] : found) {
        if (isWhite(position.squares[square]) == black) continue;
        room().clickSquare(square);
        std::array<bool, kSquareCount> marks{};
        for (int t = 0; t < kSquareCount; ++t) marks[t] = room().isTarget(t);
        room().clickSquare(square);

        // Solid pixels of the picture alone, so a probe never lands on its edge.
        std::vector<bool> own(std::size_t(shown.width()) * shown.height(), false);
        for (const QPoint& p : picture.pixels) own[std::size_t(p.y()) * shown.width() + p.x()] = true;
        const QPoint probes[] = {
            picture.bounds.center(),
            picture.solidPixel(own, shown.width(), [](QPoint a, QPoint b) { return a.y() < b.y(); }),
            picture.solidPixel(own, shown.width(), [](QPoint a, QPoint b) { return a.x() > b.x(); }),
        };
        for (const QPoint& probe : probes) {
            QVERIFY(clickScreenAt(probe));
            const bool selected =
                QTest::qWaitFor([&] { return room().pieceSelected() && room().selectedSquare() == square; }, 3000);
            QVERIFY2(selected, qPrintable(QString("a click at (%1, %2) in %5 did not select square %3, but %4")
                                              .arg(probe.x()).arg(probe.y()).arg(square)
                                              .arg(room().pieceSelected() ? room().selectedSquare() : -1)
                                              .arg(QString("%1,%2 %3x%4").arg(picture.bounds.x()).arg(picture.bounds.y()).arg(picture.bounds.width()).arg(picture.bounds.height()))));
            for (int t = 0; t < kSquareCount; ++t) QCOMPARE(room().isTarget(t), marks[t]);
            room().clickSquare(square);
        }
    }
}

bool ScreenTest::pointerTo(QPointF point, const char* then)
{
    QStringList words{"mousemove", QString::number(qRound(point.x())), QString::number(qRound(point.y()))};
    if (then) words << then << "1";
    return xdotool(words);
}

// Pressed on a pawn's picture and carried to a marked square, the pawn shows
// under the pointer over a framed square, and the release plays the move.
void ScreenTest::aDraggedPieceFollowsThePointerAndMoves()
{
    room().setUp(standardPosition());
    const int pawn = indexOf(1, 1, 1);
    const int target = indexOf(1, 1, 3);
    const std::map<int, FoundPicture> found = findPictures(standardPosition());
    QVERIFY(found.count(pawn));
    room().setUp(standardPosition());
    const QPointF start = found.at(pawn).bounds.center();
    const QPointF end = toScreen(board(), board_geometry::squareCentre(target));

    QVERIFY(pointerTo(start, "mousedown"));
    QTRY_VERIFY_WITH_TIMEOUT(room().pieceSelected() && room().isTarget(target), 3000);
    const QImage held = grabScreen(*window_);
    for (int step = 1; step <= 6; ++step) QVERIFY(pointerTo(start + (end - start) * step / 6.0));
    QTRY_VERIFY_WITH_TIMEOUT(grabScreen(*window_) != held, 3000);
    const QImage dragging = grabScreen(*window_);

    // The pawn's picture, centred on the pointer, covers much of its box.
    const QRectF box = toScreen(board(), board_geometry::pieceBox(pawn, kWhitePawn)).boundingRect();
    const QRect around = QRectF(end - QPointF(box.width(), box.height()) / 2, box.size()).toAlignedRect();
    const std::vector<bool> changed = differingPixels(dragging.copy(around), held.copy(around), 16);
    const double share = double(std::count(changed.begin(), changed.end(), true)) / changed.size();
    QVERIFY2(share > 0.2, qPrintable(QString("only %1 of the box at the pointer changed").arg(share)));
    // The target square is framed in the drop colour.
    int framed = 0;
    const QRect targetBox = toScreen(board(), board_geometry::squareOutline(target)).boundingRect().toAlignedRect().adjusted(-3, -3, 3, 3);
    for (int y = targetBox.top(); y <= targetBox.bottom(); ++y)
        for (int x = targetBox.left(); x <= targetBox.right(); ++x) {
            const QColor c = dragging.pixelColor(x, y);
            framed += std::abs(c.red() - 0x1f) < 24 && std::abs(c.green() - 0x8a) < 24 && std::abs(c.blue() - 0x3b) < 24;
        }
    QVERIFY2(framed > 40 * screenRatio(), qPrintable(QString("%1 pixels of the drop frame").arg(framed)));

    QVERIFY(pointerTo(end, "mouseup"));
    QTRY_COMPARE_WITH_TIMEOUT(room().position().squares[target], kWhitePawn, 3000);
    QCOMPARE(room().statusText(), std::string_view("Black to Move"));
}

// A promotion's question takes the mouse's release; the next click on a
// piece must still select it.
void ScreenTest::theFirstClickAfterAQuestionCounts()
{
    Position position = emptyBoard();
    const int pawn = indexOf(1, 1, 6);
    const int promotion = indexOf(1, 1, 7);
    const int blackKing = indexOf(3, 2, 4);
    position.squares[indexOf(0, 0, 0)] = kWhiteKing;
    position.squares[indexOf(3, 3, 0)] = kWhiteKing;
    position.squares[indexOf(0, 3, 4)] = kBlackKing;
    position.squares[blackKing] = kBlackKing;
    position.squares[pawn] = kWhitePawn;
    const std::map<int, FoundPicture> found = findPictures(position);
    QVERIFY(found.count(pawn) && found.count(blackKing));
    room().setUp(position);

    QTimer answer;
    int answered = 0;
    connect(&answer, &QTimer::timeout, this, [&answered, &answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        QAbstractButton* yes = box->button(QMessageBox::Yes);
        const QPointF centre = (yes->mapToGlobal(QPointF(yes->rect().center())) - QGuiApplication::primaryScreen()->geometry().topLeft()) * screenRatio();
        answer.stop();
        if (clickScreenAt(centre.toPoint())) ++answered;
    });
    answer.start(100);
    QVERIFY(clickScreenAt(found.at(pawn).bounds.center()));
    QTRY_VERIFY_WITH_TIMEOUT(room().pieceSelected() && room().isTarget(promotion), 3000);
    QVERIFY(clickScreenAt(toScreen(board(), board_geometry::squareCentre(promotion)).toPoint()));
    QTRY_COMPARE_WITH_TIMEOUT(room().statusText(), std::string_view("Black to Move"), 5000);
    answer.stop();
    QCOMPARE(answered, 1);
    QCOMPARE(room().position().squares[promotion], kWhiteQueen);

    // A press selects at once, before any release: a drag can start from it.
    QVERIFY(pointerTo(found.at(blackKing).bounds.center(), "mousedown"));
    QTRY_VERIFY_WITH_TIMEOUT(room().pieceSelected() && room().selectedSquare() == blackKing, 3000);
    QVERIFY(pointerTo(found.at(blackKing).bounds.center(), "mouseup"));
}

QTEST_MAIN(ScreenTest)
#include "screen_test.moc"
