#pragma once

#include "render/board_scene.h"

#include <QGroupBox>
#include <QPixmap>

class QComboBox;

namespace palisade {

// A few squares of the board in a chosen look: pieces of both sides, a
// selected piece with its marks, the last move and a check.
class ThemePreview : public QWidget {
    Q_OBJECT
public:
    explicit ThemePreview(QWidget* parent = nullptr);

    void showLook(const QString& theme, PieceStyle style);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    BoardScene scene_;
};

// The board's look in the preferences: the colour theme, the pieces' style and
// a preview that follows both.
class ThemePreferences : public QGroupBox {
    Q_OBJECT
public:
    ThemePreferences(const BoardOptions& current, QWidget* parent = nullptr);

    // Writes the choices into `options`, leaving its other fields alone.
    void applyTo(BoardOptions& options) const;

private:
    void showChoice();

    QComboBox* theme_ = nullptr;
    QComboBox* pieceStyle_ = nullptr;
    ThemePreview* preview_ = nullptr;
};

// The legend's target mark, as the board draws it in `theme`.
QPixmap markLegendPicture(const BoardTheme& theme, qreal devicePixelRatio);

} // namespace palisade
