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
#include <QSet>
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

QPushButton* button(QWidget* parent, const char* name) { return parent->findChild<QPushButton*>(name); }

} // namespace

class RulesTest : public QObject {
    Q_OBJECT

private slots:
    // Each of the five buttons opens its own tutorial with its pictures and its
    // words; the sixth opens the complete rules.
    void everyButtonOpensItsTutorial()
    {
        Forms forms;
        RulesMenu& menu = openMenu(forms);
        QVERIFY(menu.isVisible());
        QSet<QWidget*> opened;
        for (int i = 0; i < 5; ++i) {
            const TutorialForm& form = tutorialForm(static_cast<Tutorial>(i));
            button(&menu, qPrintable(QString("Command%1").arg(i + 1)))->click();
            QWidget* shown = window(form.name);
            QVERIFY2(shown && shown->isVisible(), form.name);
            opened.insert(shown);
            for (const TutorialImage& image : form.images) QVERIFY(shown->findChild<QWidget*>(image.name));
            for (const TutorialLabel& label : form.labels) {
                QCOMPARE(shown->findChild<QLabel*>(label.name)->text(), QString(label.text));
            }
        }
        QCOMPARE(opened.size(), 5);
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
            // A knight's or bishop's cross is a square out of reach because it keeps the colmn.
            for (int cross : scene.crosses) {
                QVERIFY(isSquare(cross) && cross != scene.movers[0] && !std::count(targets.begin(), targets.end(), cross));
                if (picture == Picture::Knight || picture == Picture::Bishop) QCOMPARE(cross % 8, scene.movers[0] % 8);
            }
        }
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
