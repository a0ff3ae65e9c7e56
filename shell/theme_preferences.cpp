#include "shell/theme_preferences.h"

#include "engine/piece.h"
#include "engine/square.h"
#include "render/board_geometry.h"
#include "render/piece_painter.h"
#include "render/pictures.h"

#include <QComboBox>
#include <QFormLayout>
#include <QPainter>

namespace palisade {

namespace {

constexpr int kHalfBoard = 0;

int at(int rw, int colmn) { return indexOf(kHalfBoard, rw, colmn); }

// A black rook has just come down its colmn to check the white king along
// the rw; White has a pawn selected with its marks showing.
BoardScene sampleScene()
{
    BoardScene scene;
    scene.squares[at(1, 1)] = kWhiteKing;
    scene.squares[at(1, 4)] = kBlackRook;
    scene.squares[at(3, 0)] = kWhitePawn;
    scene.squares[at(0, 3)] = kBlackKnight;
    scene.squares[at(3, 3)] = kWhiteBishop;
    scene.selected = at(3, 0);
    scene.marked[at(3, 1)] = true;
    scene.marked[at(3, 2)] = true;
    scene.lastMove = PlayedMove{at(3, 4), at(1, 4), 0};
    scene.attacks = {Attack{at(1, 4), at(1, 1), {at(1, 4), at(1, 3), at(1, 2), at(1, 1)}}};
    return scene;
}

// The sample's squares and the pictures standing on them.
QRectF sampleFrame(const BoardScene& scene)
{
    QRectF frame;
    for (int rw = 0; rw < 4; ++rw) {
        for (int colmn = 0; colmn <= 4; ++colmn) {
            const int square = at(rw, colmn);
            frame |= board_geometry::squareOutline(square).boundingRect();
            const int code = scene.squares[square];
            if (isPiece(code)) frame |= pieceBounds(code, board_geometry::pieceBox(square, code), scene.pieceStyle);
        }
    }
    return frame.adjusted(-6, -6, 6, 6);
}

} // namespace

ThemePreview::ThemePreview(QWidget* parent) : QWidget(parent), scene_(sampleScene())
{
    setObjectName("themePreview");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ThemePreview::showLook(const QString& theme, PieceStyle style)
{
    scene_.theme = boardThemeNamed(theme);
    scene_.pieceStyle = style;
    update();
}

QSize ThemePreview::sizeHint() const { return sampleFrame(scene_).size().toSize(); }

void ThemePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), scene_.theme.background);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = sampleFrame(scene_);
    const double scale = std::min(width() / frame.width(), height() / frame.height());
    painter.translate((width() - frame.width() * scale) / 2, (height() - frame.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(-frame.topLeft());
    painter.setClipRect(frame);
    paintScene(painter, scene_);
}

ThemePreferences::ThemePreferences(const BoardOptions& current, QWidget* parent)
    : QGroupBox("Board and pieces", parent)
{
    setObjectName("boardLook");
    theme_ = new QComboBox(this);
    theme_->setObjectName("boardTheme");
    theme_->addItems(boardThemeNames());
    theme_->setCurrentText(boardThemeNamed(current.theme).name);
    pieceStyle_ = new QComboBox(this);
    pieceStyle_->setObjectName("pieceStyle");
    pieceStyle_->addItems(pieceStyleNames());
    pieceStyle_->setCurrentIndex(static_cast<int>(current.pieceStyle));
    preview_ = new ThemePreview(this);

    auto* form = new QFormLayout(this);
    form->addRow("Colours", theme_);
    form->addRow("Pieces", pieceStyle_);
    form->addRow(preview_);
    connect(theme_, &QComboBox::currentIndexChanged, this, &ThemePreferences::showChoice);
    connect(pieceStyle_, &QComboBox::currentIndexChanged, this, &ThemePreferences::showChoice);
    showChoice();
}

void ThemePreferences::showChoice()
{
    preview_->showLook(theme_->currentText(), pieceStyleNamed(pieceStyle_->currentText()));
}

void ThemePreferences::applyTo(BoardOptions& options) const
{
    options.theme = theme_->currentText();
    options.pieceStyle = pieceStyleNamed(pieceStyle_->currentText());
}

QPixmap markLegendPicture(const BoardTheme& theme, qreal devicePixelRatio)
{
    return paintedPicture(QSize(22, 22), devicePixelRatio, [&theme](QPainter& painter) {
        paintTargetMark(painter, QRectF(0, 0, 22, 22), theme.markInk, theme.markHalo);
    });
}

} // namespace palisade
