#pragma once

#include "gameroom/display_scale.h"
#include "render/tutorial_pictures.h"

#include <QRect>
#include <QWidget>
#include <vector>

namespace palisade {

enum class Tutorial { Pawn, Rook, Bishop, Knight, Castle };

// How a label's font shrinks on a screen narrower than 1024 pixels.
enum class SmallScreenFont {
    TwoPointsLess,
    TwelvePoints,
    TwoBelowFirstLabel, // two points below the first label, once that has shrunk
};

struct TutorialImage {
    const char* name;
    QRect rect;
    tutorial_pictures::Picture picture;
};

struct TutorialLabel {
    const char* name;
    QRect rect;
    const char* text;
    int pointSize;
    SmallScreenFont smallScreen;
};

// One tutorial window as drawn for a 1024 x 768 screen: where it stands, and
// its pictures and texts.
struct TutorialForm {
    const char* name;
    const char* caption;
    QRect geometry;
    std::vector<TutorialImage> images;
    std::vector<TutorialLabel> labels;
};

const TutorialForm& tutorialForm(Tutorial tutorial);

// A movement tutorial: pictures and the rule in words. It is scaled to the
// screen once, when it is made; Esc hides it.
class TutorialWindow : public QWidget {
    Q_OBJECT
public:
    TutorialWindow(const TutorialForm& form, const DisplayScale& scale, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace palisade
