// The board's looks through the real window: each theme reaches the screen
// and the exported pictures, the preferences choose and keep them, and the
// lettered discs are clicked where they show.

#include "window_driving.h"
#include "render/board_geometry.h"
#include "render/piece_painter.h"
#include "shell/board_export.h"
#include "shell/forms.h"
#include "shell/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

using namespace palisade;

namespace {

// The colour the board shows in the middle of an empty square.
QColor colourAt(GameRoomWindow& window, int square)
{
    BoardView& board = window.boardView();
    const QImage picture = board.grab().toImage();
    return picture.pixelColor(board.pictureTransform().map(board_geometry::squareCentre(square)).toPoint());
}

bool near(const QColor& seen, const QColor& wanted)
{
    return std::abs(seen.red() - wanted.red()) <= 2 && std::abs(seen.green() - wanted.green()) <= 2
           && std::abs(seen.blue() - wanted.blue()) <= 2;
}

BoardOptions withLook(BoardOptions options, const QString& theme, PieceStyle style)
{
    options.theme = theme;
    options.pieceStyle = style;
    return options;
}

} // namespace

class LookTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        qputenv("XDG_CONFIG_HOME", home_.filePath("config").toUtf8());
        qputenv("XDG_DATA_HOME", home_.filePath("data").toUtf8());
    }

    void everyThemeReachesTheScreenAndTheExports()
    {
        QVERIFY(boardThemes().size() >= 4);
        QCOMPARE(defaultBoardTheme().name, BoardOptions{}.theme);
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        const int lightEmpty = 19, darkEmpty = 18;
        QTemporaryDir folder;
        for (const BoardTheme& theme : boardThemes()) {
            window.boardView().setOptions(withLook(window.boardView().options(), theme.name, PieceStyle::Carved));
            QVERIFY2(near(colourAt(window, lightEmpty), theme.lightSquare), qPrintable(theme.name));
            QVERIFY2(near(colourAt(window, darkEmpty), theme.darkSquare), qPrintable(theme.name));
            const BoardScene scene = sceneOf(window.room(), window.boardView().options());
            const QString png = folder.filePath(theme.name + ".png");
            QVERIFY(!exportPng(png, scene));
            QCOMPARE(QImage(png).pixelColor(1, 1), theme.background);
        }
        // An unknown name shows the board's own colours.
        window.boardView().setOptions(withLook(window.boardView().options(), "No such theme", PieceStyle::Carved));
        QVERIFY(near(colourAt(window, lightEmpty), defaultBoardTheme().lightSquare));
    }

    void thePreferencesChooseShowAndKeepTheLook()
    {
        Preferences current;
        PreferencesDialog dialog(current);
        auto* theme = dialog.findChild<QComboBox*>("boardTheme");
        auto* style = dialog.findChild<QComboBox*>("pieceStyle");
        auto* preview = dialog.findChild<QWidget*>("themePreview");
        auto* soundsOn = dialog.findChild<QCheckBox*>("soundsOn");
        auto* volume = dialog.findChild<QSlider*>("soundVolume");
        QVERIFY(theme && style && preview && soundsOn && volume);
        QCOMPARE(theme->currentText(), defaultBoardTheme().name);
        QCOMPARE(theme->count(), int(boardThemes().size()));
        QCOMPARE(style->count(), 2);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        // The preview follows each choice.
        const QImage before = preview->grab().toImage();
        theme->setCurrentText("High contrast");
        const QImage recoloured = preview->grab().toImage();
        QVERIFY(recoloured != before);
        style->setCurrentIndex(static_cast<int>(PieceStyle::LetteredDisc));
        QVERIFY(preview->grab().toImage() != recoloured);
        soundsOn->setChecked(false);
        QVERIFY(!volume->isEnabled());
        volume->setValue(35);

        Preferences chosen = current;
        chosen.board.theme = "High contrast";
        chosen.board.pieceStyle = PieceStyle::LetteredDisc;
        chosen.soundsOn = false;
        chosen.soundVolume = 35;
        QCOMPARE(dialog.preferences(), chosen);
        savePreferences(chosen);
        QCOMPARE(loadPreferences(), chosen);

        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        QCOMPARE(window.boardView().options().theme, QString("High contrast"));
        QVERIFY(near(colourAt(window, 19), Qt::white));

        // What a hand-edited settings file holds that no dialog offers reads as the defaults.
        savePreferences(Preferences{});
        {
            QSettings settings(QSettings::IniFormat, QSettings::UserScope, QCoreApplication::applicationName(),
                               "preferences");
            settings.setValue("board/theme", "Plaid");
            settings.setValue("board/pieceStyle", 7);
            settings.setValue("sounds/volume", 900);
        }
        const Preferences read = loadPreferences();
        QCOMPARE(read.board.theme, defaultBoardTheme().name);
        QCOMPARE(read.board.pieceStyle, PieceStyle::Carved);
        QCOMPARE(read.soundVolume, 100);
        savePreferences(Preferences{});
    }

    // Left of a pawn's head, where a carved pawn leaves the square clear and a
    // disc does not: a press there picks the pawn only while discs show.
    void discsAreClickedWhereTheyShow()
    {
        Forms forms;
        GameRoomWindow& window = enterGameRoom(forms);
        const int pawn = 25;
        const int code = window.room().position().squares[pawn];
        QVERIFY(isPiece(code));
        const QRectF box = board_geometry::pieceBox(pawn, code);
        const QRectF disc = pieceBounds(code, box, PieceStyle::LetteredDisc);
        const QPointF beside(disc.left() + disc.width() * 0.12, disc.center().y());
        QVERIFY(pieceCovers(code, box, beside, 0, PieceStyle::LetteredDisc));
        QVERIFY(!pieceCovers(code, box, beside, 0, PieceStyle::Carved));

        window.boardView().setOptions(withLook(window.boardView().options(), "Slate", PieceStyle::LetteredDisc));
        const QPoint point = window.boardView().pictureTransform().map(beside).toPoint();
        QTest::mouseClick(&window.boardView(), Qt::LeftButton, Qt::NoModifier, point);
        QVERIFY(window.room().pieceSelected());
        QCOMPARE(window.room().selectedSquare(), pawn);
        clickSquare(window, pawn);
        QVERIFY(!window.room().pieceSelected());
    }

private:
    QTemporaryDir home_;
};

QTEST_MAIN(LookTest)
#include "look_test.moc"
