#include "shell/tutorial_window.h"

#include "shell/escape_key.h"
#include "shell/labels.h"

#include <QKeyEvent>

namespace palisade {

namespace {

using tutorial_pictures::Picture;

// One picture beside the rule.
TutorialForm pieceForm(const char* name, const char* caption, Picture picture, const char* text,
                       int pointSize, SmallScreenFont smallScreen)
{
    return {name,
            caption,
            QRect(130, 90, 760, 560),
            {{"Image1", QRect(12, 12, 490, 536), picture}},
            {{"Label1", QRect(522, 28, 222, 508), text, pointSize, smallScreen}}};
}

// Kingside and queenside, each before and after, above their rules.
TutorialForm castleForm()
{
    const char* kingside =
        "Kingside Castling.  Two different ways for both Kings.  The King moves one square as "
        "shown.  The Rook than moves to the position of the King.  The Knight and Bishop "
        "involved must be out of the way.";
    const char* queenside =
        "Queenside Castling.  Two different ways for both Kings.  The King moves two squares as "
        "shown.  The Rook than moves to the position of the Queen as shown.  The Knight,  "
        "Bishop, and Queen involved must be out of the way.";
    const char* conditions = "As in regular Chess the King and Rook cannot have moved.  Also you "
                             "cannot castle out of check or through check.";
    return {
        "tocastle",
        "Castling",
        QRect(40, 30, 940, 690),
        {{"Image1", QRect(12, 12, 216, 520), Picture::KingsideCastle},
         {"Image2", QRect(240, 12, 216, 520), Picture::KingsideCastled},
         {"Image3", QRect(484, 12, 216, 520), Picture::QueensideCastle},
         {"Image4", QRect(712, 12, 216, 520), Picture::QueensideCastled}},
        {{"Label1", QRect(16, 544, 440, 98), kingside, 12, SmallScreenFont::TwoPointsLess},
         {"Label2", QRect(484, 544, 444, 98), queenside, 12, SmallScreenFont::TwoBelowFirstLabel},
         {"Label3", QRect(16, 644, 912, 44), conditions, 12, SmallScreenFont::TwoBelowFirstLabel}}};
}

const std::vector<TutorialForm>& allForms()
{
    static const std::vector<TutorialForm> forms = {
        pieceForm("pawnmove", "Pawn", Picture::Pawn,
                  "The pawn moves forward until it is blocked or reaches the end.  It captures "
                  "diagonally in four directions,  including Enpassant.  When it reaches the end "
                  "or the eighth rank, it is promoted to a Queen, Rook, Bishop, or a Knight.",
                  12, SmallScreenFont::TwoPointsLess),
        pieceForm("Rookmove", "Rook", Picture::Rook,
                  "The Rook moves straight up and down, or side to side, on any X, Y, and Z "
                  "planes.  Note:  Moving a Rook may prevent you from Castling.  See Castling "
                  "rules.",
                  12, SmallScreenFont::TwoPointsLess),
        pieceForm("Bishopmove", "Bishop", Picture::Bishop,
                  "Always on its own color.  The Bishops moves diagonally.  It cannot move to the "
                  "Black X(s), because it must chang distance, to and from your opponent.",
                  12, SmallScreenFont::TwoPointsLess),
        pieceForm("knight", "Knight", Picture::Knight,
                  "The Knight can move to any of the red circles.  It cannot however move to the "
                  "black (X)s.  It may seem logical but remember the Knight must change distance "
                  "between you and your opponent.",
                  14, SmallScreenFont::TwelvePoints),
        castleForm(),
    };
    return forms;
}

QRect scaled(const QRect& rect, const DisplayScale& scale)
{
    return QRect(qRound(rect.x() * scale.screenRatioX), qRound(rect.y() * scale.screenRatioY),
                 qRound(rect.width() * scale.screenRatioX),
                 qRound(rect.height() * scale.screenRatioY));
}

void setPointSize(QLabel& label, int pointSize)
{
    QFont font = label.font();
    font.setPointSize(pointSize);
    label.setFont(font);
}

int smallScreenPointSize(const TutorialLabel& label, int firstLabelSize)
{
    switch (label.smallScreen) {
    case SmallScreenFont::TwoPointsLess: return label.pointSize - 2;
    case SmallScreenFont::TwelvePoints: return 12;
    case SmallScreenFont::TwoBelowFirstLabel: return firstLabelSize - 2;
    }
    return label.pointSize;
}

} // namespace

const TutorialForm& tutorialForm(Tutorial tutorial)
{
    return allForms().at(static_cast<std::size_t>(tutorial));
}

TutorialWindow::TutorialWindow(const TutorialForm& form, const DisplayScale& scale, QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(form.name);
    setWindowTitle(form.caption);
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xf4, 0xec, 0xd8));
    colours.setColor(QPalette::WindowText, QColor(0x33, 0x26, 0x1a));
    setPalette(colours);
    setAutoFillBackground(true);

    // Everything is placed for a 1024 x 768 screen and scaled here, once.
    const QRect geometry = scaled(form.geometry, scale);
    move(geometry.topLeft());
    setFixedSize(geometry.size());
    // The pictures never change: each is drawn once, at its box's size, as
    // the complete rules draw theirs.
    for (const TutorialImage& image : form.images) {
        const QRect box = scaled(image.rect, scale);
        QLabel* picture = makeLabel(QString(), image.name, this);
        picture->setGeometry(box);
        picture->setPixmap(
            tutorial_pictures::pixmap(image.picture, box.size(), devicePixelRatioF()));
    }
    const bool smallScreen = scale.screenRatioX < 1.0;
    int firstLabelSize = 0;
    for (const TutorialLabel& wanted : form.labels) {
        QLabel* label = makeLabel(wanted.text, wanted.name, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(scaled(wanted.rect, scale));
        const int size = smallScreen ? smallScreenPointSize(wanted, firstLabelSize) : wanted.pointSize;
        setPointSize(*label, size);
        if (firstLabelSize == 0) firstLabelSize = size;
    }
}

void TutorialWindow::keyPressEvent(QKeyEvent* event)
{
    if (!hideOnEscape(*this, *event)) QWidget::keyPressEvent(event);
}

} // namespace palisade
