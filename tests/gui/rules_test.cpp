// The rules menu, its five tutorials and the complete rules, as a player meets
// them; and the tutorial pictures checked against the rules engine.

#include "engine/castling.h"
#include "engine/targets.h"
#include "render/tutorial_pictures.h"
#include "shell/forms.h"
#include "shell/help_window.h"
#include "shell/rules_menu.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

#include <algorithm>

using namespace palisade;
using tutorial_pictures::Picture;

namespace {

QWidget* window(const char* name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) if (widget->objectName() == name) return widget;
    return nullptr;
}

RulesMenu& openMenu(Forms& forms)
{
    forms.showRules();
    return *qobject_cast<RulesMenu*>(window("Rules"));
}

QString label(QWidget* parent, const char* name) { return parent->findChild<QLabel*>(name)->text(); }

QPushButton* button(QWidget* parent, const char* name) { return parent->findChild<QPushButton*>(name); }

// Button, its caption, the tutorial's name and caption, and its texts.
struct Expected {
    const char *button, *buttonText, *name, *caption;
    QStringList texts;
};

const QList<Expected> kTutorials = {
    {"Command1", "Pawn", "pawnmove", "Pawn", {"The pawn moves forward until it is blocked or reaches the end.  It captures diagonally in four directions,  including Enpassant.  When it reaches the end or the eighth rank, it is promoted to a Queen, Rook, Bishop, or a Knight."}},
    {"Command2", "Rook", "Rookmove", "Rook", {"The Rook moves straight up and down, or side to side, on any X, Y, and Z planes.  Note:  Moving a Rook may prevent you from Castling.  See Castling rules."}},
    {"Command3", "Bishop", "Bishopmove", "Bishop", {"Always on its own color.  The Bishops moves diagonally.  It cannot move to the Black X(s), because it must chang distance, to and from your opponent."}},
    {"Command4", "Knight", "knight", "Knight", {"The Knight can move to any of the red circles.  It cannot however move to the black (X)s.  It may seem logical but remember the Knight must change distance between you and your opponent."}},
    {"Command5", "Castle", "tocastle", "Castling",
     {"Kingside Castling.  Two different ways for both Kings.  The King moves one square as shown.  The Rook than moves to the position of the King.  The Knight and Bishop involved must be out of the way.",
      "Queenside Castling.  Two different ways for both Kings.  The King moves two squares as shown.  The Rook than moves to the position of the Queen as shown.  The Knight,  Bishop, and Queen involved must be out of the way.",
      "As in regular Chess the King and Rook cannot have moved.  Also you cannot castle out of check or through check."}},
};

} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    void everyButtonOpensItsWindowWithItsTexts()
    {
        Forms forms;
        RulesMenu& menu = openMenu(forms);
        QVERIFY(menu.isVisible() && menu.windowTitle() == "RULES");
        const QStringList texts = {label(&menu, "Label1"), label(&menu, "Label5"), label(&menu, "Label3"),
                                   menu.findChild<QTextEdit*>("Text1")->toPlainText(), button(&menu, "Command6")->text()};
        QCOMPARE(texts, QStringList({"Rules of 'Palisade' Chess", "Show Me how to", "Show Me how a", "M\nO\nV\nE\nS",
                                     "Complete Rules"}));
        QVERIFY(!label(&menu, "Label2").isEmpty() && !label(&menu, "Label10").isEmpty());

        for (const Expected& tutorial : kTutorials) {
            QCOMPARE(button(&menu, tutorial.button)->text(), QString(tutorial.buttonText));
            button(&menu, tutorial.button)->click();
            QWidget* shown = window(tutorial.name);
            QVERIFY2(shown && shown->isVisible() && shown->windowTitle() == tutorial.caption, tutorial.name);
            for (int i = 0; i < tutorial.texts.size(); ++i) {
                QCOMPARE(label(shown, qPrintable(QString("Label%1").arg(i + 1))), tutorial.texts[i]);
            }
            for (int i = 1; i <= (tutorial.texts.size() == 1 ? 1 : 4); ++i) {
                QVERIFY(shown->findChild<QWidget*>(QString("Image%1").arg(i)));
            }
        }
        button(&menu, "Command6")->click();
        QVERIFY(window("help") && window("help")->isVisible());
    }

    void escHidesTheMenuFromEachButtonAndEachTutorial()
    {
        Forms forms;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6"}) {
            RulesMenu& menu = openMenu(forms);
            QTest::keyClick(button(&menu, name), Qt::Key_Escape);
            QVERIFY2(!menu.isVisible(), name);
        }
        for (int i = 0; i < 5; ++i) {
            TutorialWindow& tutorial = openMenu(forms).showTutorial(static_cast<Tutorial>(i));
            QTest::keyClick(&tutorial, Qt::Key_Escape);
            QVERIFY(!tutorial.isVisible());
        }
        forms.showHelp();
        QTest::keyClick(window("help"), Qt::Key_Escape);
        QVERIFY(!window("help")->isVisible());
    }

    void completeRulesHaveEverySectionAndTheirPictures()
    {
        Forms forms;
        forms.showHelp();
        auto* help = qobject_cast<HelpWindow*>(window("help"));
        const QString page = help->toPlainText();
        const QStringList headings = {"The board", "Naming squares and moves", "The armies", "How the pieces move",
            "Check and the two kings", "Castling", "En passant", "Promotion", "The end of the game", "Win options",
            "Playing with the mouse", "Commands", "Saved games", "2a1 - Nx2c2", "2O-O-O4", "Save this king?"};
        for (const QString& heading : headings) QVERIFY2(page.contains(heading), qPrintable(heading));
        QVERIFY(help->toHtml().contains("name=\"castling\""));
        for (const char* picture : {"start", "pawn", "knight", "queenside-castled"}) {
            const QUrl url(QString("pictures/%1.png").arg(picture));
            QVERIFY(!help->loadResource(QTextDocument::ImageResource, url).value<QPixmap>().isNull());
        }
    }

    void menuOpensWithAndWithoutOldboardJpg()
    {
        const QString home = QDir::currentPath();
        QTemporaryDir dir;
        QVERIFY(QDir::setCurrent(dir.path()));
        for (bool withPicture : {false, true}) {
            QImage picture(32, 24, QImage::Format_RGB32);
            picture.fill(QColor(90, 60, 30));
            if (withPicture) QVERIFY(picture.save("oldboard.jpg", "JPG"));
            Forms forms;
            RulesMenu& menu = openMenu(forms);
            QVERIFY(menu.isVisible() && !menu.grab().isNull());
            QCOMPARE(menu.showsPictureFile(), withPicture);
        }
        QDir::setCurrent(home);
    }

    void pictureRingsAreTheEnginesTargetsAndCrossesAreNot()
    {
        for (Picture picture : {Picture::Pawn, Picture::Rook, Picture::Bishop, Picture::Knight}) {
            const tutorial_pictures::Scene scene = tutorial_pictures::scene(picture);
            std::vector<int> targets;
            for (const Target& target : generateTargets(scene.position, scene.movers[0])) targets.push_back(target.square);
            std::sort(targets.begin(), targets.end());
            QCOMPARE(scene.circles, targets);
            for (int cross : scene.crosses) {
                QVERIFY(isSquare(cross) && cross != scene.movers[0] && !std::count(targets.begin(), targets.end(), cross));
            }
        }
        QCOMPARE(tutorial_pictures::scene(Picture::Knight).circles.size(), std::size_t(12));
        QCOMPARE(tutorial_pictures::scene(Picture::Knight).crosses, (std::vector<int>{27, 91, 99, 115}));
        QCOMPARE(tutorial_pictures::scene(Picture::Bishop).crosses, (std::vector<int>{3, 19, 67, 83}));

        // Castles: the rings are king A's landing marks, and the castled
        // pictures put king and rook where the game puts them.
        const struct { Picture before, after; std::vector<int> landings; int shown, mark; } castles[] = {
            {Picture::KingsideCastle, Picture::KingsideCastled, {8, 32}, 32, kKingsideCastleMark},
            {Picture::QueensideCastle, Picture::QueensideCastled, {56, 104}, 56, kQueensideCastleMark},
        };
        for (const auto& castle : castles) {
            QCOMPARE(tutorial_pictures::scene(castle.before).circles, castle.landings);
            const Board& after = tutorial_pictures::scene(castle.after).position.squares;
            const auto rook = castleRookMove(castle.shown, castle.mark);
            QVERIFY(after[castle.shown] == kWhiteKing && after[rook->to] == kWhiteRook && !after[rook->from]);
        }
    }

    void tutorialsAreScaledOnceWithSmallerFontsOnSmallScreens()
    {
        Forms forms;
        const DisplayScale& scale = forms.displayScale();
        const QRect design = tutorialForm(Tutorial::Knight).geometry;
        TutorialWindow* first = &openMenu(forms).showTutorial(Tutorial::Knight);
        const QSize size(qRound(design.width() * scale.screenRatioX), qRound(design.height() * scale.screenRatioY));
        QCOMPARE(first->size(), size);
        first->hide();
        QCOMPARE(&openMenu(forms).showTutorial(Tutorial::Knight), first);
        QCOMPARE(first->size(), size); // not scaled a second time

        const DisplayScale small{0.78125, 0.78125, 0.78125, 0.78125};
        const DisplayScale wide{1.5, 1.0, 1.0, 1.0};
        const struct { Tutorial tutorial; const char* label; int smallSize, wideSize; } fonts[] = {
            {Tutorial::Pawn, "Label1", 10, 12}, {Tutorial::Knight, "Label1", 12, 14},
            {Tutorial::Castle, "Label1", 10, 12}, {Tutorial::Castle, "Label3", 8, 12},
        };
        for (const auto& font : fonts) {
            TutorialWindow onSmall(tutorialForm(font.tutorial), small);
            TutorialWindow onWide(tutorialForm(font.tutorial), wide);
            QCOMPARE(onSmall.findChild<QLabel*>(font.label)->font().pointSize(), font.smallSize);
            QCOMPARE(onWide.findChild<QLabel*>(font.label)->font().pointSize(), font.wideSize);
            const QRect rect = tutorialForm(font.tutorial).geometry;
            QCOMPARE(onWide.size(), QSize(qRound(rect.width() * 1.5), rect.height()));
            QCOMPARE(onWide.pos(), QPoint(qRound(rect.x() * 1.5), rect.y()));
        }
    }
};

QTEST_MAIN(RulesTest)
#include "rules_test.moc"
