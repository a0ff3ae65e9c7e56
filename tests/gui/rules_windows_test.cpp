// The tutorials and the complete rules on a real X server, as the screen
// shows them: every piece of every tutorial picture stands in its place, and
// the complete rules open large enough to read.

#include "render/tutorial_pictures.h"
#include "shell/forms.h"
#include "shell/help_window.h"
#include "shell/rules_menu.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QtTest>

#include <algorithm>

using namespace palisade;

namespace {

// A pixel counts as something else than the board when it is this far from
// the same picture drawn without its pieces; each piece's box must hold this
// much of them.
constexpr int kLevels = 32;
constexpr double kLeastPiece = 0.30;

QWidget* window(const char* name)
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name) return widget;
    }
    return nullptr;
}

QWidget& openFromRulesMenu(Forms& forms, const char* button, const char* name)
{
    forms.showRules();
    window("Rules")->findChild<QPushButton*>(button)->click();
    QWidget* shown = window(name);
    if (!shown || !QTest::qWaitForWindowExposed(shown)) qFatal("%s did not show", name);
    return *shown;
}

// What the screen shows where `widget` stands, in device pixels.
QImage screenUnder(const QWidget& widget)
{
    const QPoint corner = widget.mapToGlobal(QPoint(0, 0));
    return widget.screen()
        ->grabWindow(0, corner.x(), corner.y(), widget.width(), widget.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

int levelsApart(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The share of the pixels in `area` (device pixels) where the two pictures
// differ.
double differingShare(const QImage& shown, const QImage& expected, const QRect& area)
{
    const QRect inside = area & shown.rect() & expected.rect();
    if (inside.isEmpty()) return 0.0;
    qint64 differing = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            differing += levelsApart(shown.pixel(x, y), expected.pixel(x, y)) > kLevels;
        }
    }
    return double(differing) / (double(inside.width()) * inside.height());
}

// The tutorial picture `box` shows, drawn without its pieces on the window's
// own background.
QImage boardAlone(tutorial_pictures::Scene scene, const QWidget& box)
{
    scene.position.squares.fill(kEmpty);
    const qreal ratio = box.devicePixelRatioF();
    QImage picture(box.size() * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(box.palette().color(QPalette::Window));
    QPainter painter(&picture);
    tutorial_pictures::paint(painter, scene, QRectF(QPointF(0, 0), QSizeF(box.size())));
    painter.end();
    return picture;
}

QRect devicePixels(const QRectF& rect, qreal ratio)
{
    return QRectF(rect.topLeft() * ratio, rect.size() * ratio).toAlignedRect();
}

} // namespace

class RulesWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPieceOfEveryTutorialPictureShows()
    {
        const struct {
            const char* button;
            Tutorial tutorial;
        } tutorials[] = {{"Command1", Tutorial::Pawn},
                         {"Command2", Tutorial::Rook},
                         {"Command3", Tutorial::Bishop},
                         {"Command4", Tutorial::Knight},
                         {"Command5", Tutorial::Castle}};
        Forms forms;
        QStringList missing;
        for (const auto& [button, tutorial] : tutorials) {
            const TutorialForm& form = tutorialForm(tutorial);
            QWidget& shown = openFromRulesMenu(forms, button, form.name);
            for (const TutorialImage& image : form.images) {
                const QWidget* box = shown.findChild<QWidget*>(image.name);
                QVERIFY(box);
                const tutorial_pictures::Scene scene = tutorial_pictures::scene(image.picture);
                const QImage board = boardAlone(scene, *box);
                // Once the picture is on the screen, its board shows almost everywhere.
                QImage screen;
                QTRY_VERIFY_WITH_TIMEOUT(
                    differingShare(screen = screenUnder(*box), board, board.rect()) < 0.2, 5000);

                const auto pieces = tutorial_pictures::pieceBoxes(
                    scene, QRectF(QPointF(0, 0), QSizeF(box->size())));
                QVERIFY(!pieces.empty());
                double least = 1.0;
                int short_ = 0;
                for (const QRectF& piece : pieces) {
                    const double share = differingShare(
                        screen, board, devicePixels(piece, box->devicePixelRatioF()));
                    least = std::min(least, share);
                    short_ += share < kLeastPiece;
                }
                const QString verdict =
                    QString("%1 %2: %3 of %4 piece boxes under %5 %, the emptiest %6 %")
                        .arg(form.name, image.name)
                        .arg(short_)
                        .arg(pieces.size())
                        .arg(kLeastPiece * 100)
                        .arg(least * 100, 0, 'f', 1);
                qInfo("%s", qPrintable(verdict));
                if (short_ > 0) missing << verdict;
            }
            shown.hide();
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable("pieces missing from the screen: " + missing.join("; ")));
    }

    void completeRulesOpenLargeEnoughToRead()
    {
        Forms forms;
        auto& help = static_cast<HelpWindow&>(openFromRulesMenu(forms, "Command6", "help"));
        const QRect available = help.screen()->availableGeometry();
        QCOMPARE(help.size(), QSize(820, 680).boundedTo(available.size()));
        QVERIFY(available.contains(help.frameGeometry()));

        // The page opens at its top: the first section's heading is in view.
        QTextBlock block = help.document()->begin();
        while (block.isValid() && block.blockFormat().headingLevel() != 2) block = block.next();
        QVERIFY(block.isValid());
        const QRect heading = help.cursorRect(QTextCursor(block));
        QVERIFY2(help.viewport()->rect().contains(heading), qPrintable(block.text()));

        // And the screen shows the page's text there: dark ink on the light page.
        const QImage screen = screenUnder(*help.viewport());
        qint64 ink = 0;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) ink += qGray(screen.pixel(x, y)) < 96;
        }
        QVERIFY2(ink > screen.width() * screen.height() / 200, "no text on the screen");
    }
};

QTEST_MAIN(RulesWindowsTest)
#include "rules_windows_test.moc"
