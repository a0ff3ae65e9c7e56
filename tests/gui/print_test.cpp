// Print Board Position on a real X server: the printed page, rasterised by
// poppler, shows the board exactly as the PNG export draws it, and under it
// what the side panel reads, in the panel's order.

#include "render/board_painter.h"
#include "shell/forms.h"
#include "shell/game_room_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <functional>

using namespace palisade;

namespace {

// A middle game: both armies on the board, the last move tinted, White's
// bishop giving check across two half-boards.
const std::vector<std::pair<int, int>> kMiddleGame = {
    {1, 2}, {38, 37}, {32, 1}, {47, 38}, {1, 100}};

// How far a printed pixel may stray from the exported one before it counts
// as different, and how many of the board's pixels may.
constexpr int kLevels = 32;
constexpr double kMostDiffering = 0.01;

// The page is rasterised this many times finer than the exported picture and
// each block of kFiner x kFiner pixels averaged into one: edges then come out
// as the share of each pixel they cover, as the export draws them, however
// the rasteriser snaps lines to its pixels.
constexpr int kFiner = 4;

// Runs one of poppler's tools; nothing comes back when it fails.
QByteArray runTool(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        qWarning("%s could not run (Debian package poppler-utils): %s", qPrintable(tool),
                 qPrintable(process.errorString()));
        return {};
    }
    return process.readAllStandardOutput();
}

// The page at `dpi`, or only the part `crop` of it (in pixels at that dpi).
QImage rasterise(const QString& pdf, double dpi, const QRect& crop = {})
{
    const QString prefix = pdf + "-raster";
    QStringList arguments = {"-r", QString::number(dpi, 'f', 4), "-singlefile"};
    if (!crop.isNull()) {
        arguments << "-x" << QString::number(crop.x()) << "-y" << QString::number(crop.y()) << "-W"
                  << QString::number(crop.width()) << "-H" << QString::number(crop.height());
    }
    runTool("pdftoppm", arguments << pdf << prefix);
    return QImage(prefix + ".ppm").convertToFormat(QImage::Format_RGB32);
}

// Runs `step` once a modal dialog of type Dialog is open.
template <typename Dialog>
void answerNextDialog(const std::function<void(Dialog&)>& step, int triesLeft = 100)
{
    QTimer::singleShot(20, [step, triesLeft] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            step(*dialog);
        } else if (triesLeft > 0) {
            answerNextDialog<Dialog>(step, triesLeft - 1);
        } else {
            qFatal("the dialog never opened");
        }
    });
}

GameRoomWindow& middleGame(Forms& forms)
{
    forms.showGameRoom();
    GameRoomWindow& window = *forms.gameRoom();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("the game room never showed");
    for (const auto& [from, to] : kMiddleGame) {
        window.room().clickSquare(from);
        window.room().clickSquare(to);
    }
    return window;
}

// The picture the export menu item writes.
QImage exportedPicture(GameRoomWindow& window, const QString& path)
{
    answerNextDialog<QFileDialog>([path](QFileDialog& box) {
        // The name is typed in: once the name field has the focus, the box
        // no longer takes a chosen file into it.
        auto* fileName = box.findChild<QLineEdit*>("fileNameEdit");
        if (!fileName) qFatal("the file box has no name field");
        fileName->setText(path);
        static_cast<QDialog&>(box).accept();
    });
    window.findChild<QAction*>("exportPng")->trigger();
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

bool isBackground(QRgb pixel)
{
    const QColor background = board_painter::background();
    return std::abs(qRed(pixel) - background.red()) <= 6
           && std::abs(qGreen(pixel) - background.green()) <= 6
           && std::abs(qBlue(pixel) - background.blue()) <= 6;
}

// The pixels the board's background fills: its frame on the page.
QRect boardFrame(const QImage& page)
{
    QRect frame;
    for (int y = 0; y < page.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        int first = -1, last = -1;
        for (int x = 0; x < page.width(); ++x) {
            if (!isBackground(row[x])) continue;
            if (first < 0) first = x;
            last = x;
        }
        if (first >= 0) frame |= QRect(first, y, last - first + 1, 1);
    }
    return frame;
}

int levelsApart(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

QRgb blockAverage(const QImage& fine, QPoint corner)
{
    int red = 0, green = 0, blue = 0;
    for (int dy = 0; dy < kFiner; ++dy) {
        const auto* row =
            reinterpret_cast<const QRgb*>(fine.constScanLine(corner.y() + dy)) + corner.x();
        for (int dx = 0; dx < kFiner; ++dx) {
            red += qRed(row[dx]);
            green += qGreen(row[dx]);
            blue += qBlue(row[dx]);
        }
    }
    constexpr int area = kFiner * kFiner;
    return qRgb((red + area / 2) / area, (green + area / 2) / area, (blue + area / 2) / area);
}

// The share of the exported picture's pixels (on every `step`-th row) that
// the fine page, averaged in blocks starting at `origin`, shows more than
// kLevels apart.
double differingShare(const QImage& fine, QPoint origin, const QImage& exported, int step = 1)
{
    qint64 differing = 0, total = 0;
    for (int y = 0; y < exported.height(); y += step) {
        const auto* expected = reinterpret_cast<const QRgb*>(exported.constScanLine(y));
        for (int x = 0; x < exported.width(); ++x) {
            differing +=
                levelsApart(blockAverage(fine, origin + QPoint(x, y) * kFiner), expected[x])
                > kLevels;
            ++total;
        }
    }
    return double(differing) / double(total);
}

struct Comparison {
    QRectF frame; // the board on the page, in points
    double share = 1.0;
};

// Finds the board on the printed page and holds it against the exported
// picture. A rough look finds the board; a thin strip across it, drawn
// kFiner times finer than the export, gives its width to a pixel; then the
// whole board is drawn at that size and laid over the export at the best of
// the block origins around its frame, since a rasteriser may move the
// frame's edges by a pixel.
Comparison compareWithExport(const QString& pdf, const QImage& exported)
{
    constexpr double kPoint = 72.0;
    const QRect rough = boardFrame(rasterise(pdf, kPoint));
    if (rough.width() < 10) return {};
    const auto around = [&rough](double dpi) {
        const double perPoint = dpi / kPoint;
        return QRect(((QPointF(rough.topLeft()) - QPointF(2, 2)) * perPoint).toPoint(),
                     (QSizeF(rough.size() + QSize(4, 4)) * perPoint).toSize());
    };
    const double roughDpi = kPoint * kFiner * exported.width() / rough.width();
    QRect strip = around(roughDpi);
    strip = QRect(strip.left(), strip.center().y() - 8, strip.width(), 16);
    const QRect across = boardFrame(rasterise(pdf, roughDpi, strip));
    if (across.width() < 10) return {};

    const double dpi = roughDpi * kFiner * exported.width() / across.width();
    const QRect area = around(dpi);
    const QImage fine = rasterise(pdf, dpi, area);
    const QRect found = boardFrame(fine);
    const QSize needed = exported.size() * kFiner;
    QPoint best;
    double bestShare = 2.0;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const QPoint origin = found.topLeft() + QPoint(dx, dy);
            if (!fine.rect().contains(QRect(origin, needed))) continue;
            const double share = differingShare(fine, origin, exported, 8);
            if (share < bestShare) {
                bestShare = share;
                best = origin;
            }
        }
    }
    if (bestShare > 1.0) return {};
    const double pointsPerPixel = kPoint / dpi;
    return {
        QRectF(QPointF(area.topLeft() + best) * pointsPerPixel, QSizeF(needed) * pointsPerPixel),
        differingShare(fine, best, exported)};
}

struct PrintedWord {
    QString text;
    double top;
};

// The words of the page, each with its top in points, in reading order.
std::vector<PrintedWord> wordsOf(const QString& pdf)
{
    const QString html = QString::fromUtf8(runTool("pdftotext", {"-bbox", pdf, "-"}));
    static const QRegularExpression word(
        R"re(<word xMin="[^"]*" yMin="([^"]*)"[^>]*>([^<]*)</word>)re");
    std::vector<PrintedWord> words;
    for (const auto& match : word.globalMatch(html)) {
        QString text = match.captured(2);
        text.replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">");
        words.push_back({text, match.captured(1).toDouble()});
    }
    return words;
}

// Where a line of text starts on the page, in points from the top; -1 when it
// is not there.
double topOfLine(const std::vector<PrintedWord>& words, const QString& line)
{
    const QStringList wanted = line.split(' ', Qt::SkipEmptyParts);
    for (std::size_t i = 0; i + wanted.size() <= words.size(); ++i) {
        bool found = true;
        for (qsizetype k = 0; k < wanted.size() && found; ++k)
            found = words[i + k].text == wanted[k];
        if (found) return words[i].top;
    }
    return -1.0;
}

// The side panel's texts as the window shows them, from the top down.
QStringList panelTexts(GameRoomWindow& window)
{
    QList<QLabel*> labels;
    for (const char* name : {"Label1", "Label2", "Label3", "Label9", "notation"}) {
        auto* label = window.findChild<QLabel*>(name);
        if (label && label->isVisible() && !label->text().isEmpty()) labels << label;
    }
    std::sort(labels.begin(), labels.end(), [&window](QLabel* a, QLabel* b) {
        return a->mapTo(&window, QPoint()).y() < b->mapTo(&window, QPoint()).y();
    });
    QStringList texts;
    for (QLabel* label : labels) texts << label->text();
    return texts;
}

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private:
    // Prints with `print`, then holds the page against the export and the
    // side panel.
    void comparePrintedPage(const std::function<bool(GameRoomWindow&, const QString& pdf)>& print)
    {
        Forms forms;
        GameRoomWindow& window = middleGame(forms);
        QVERIFY(window.findChild<QLabel*>("Label3")->isVisible());
        ++pages_;
        const QImage exported =
            exportedPicture(window, folder_.filePath(QString("board-%1.png").arg(pages_)));
        QVERIFY2(!exported.isNull(), "the export wrote no picture");

        const QString pdf = folder_.filePath(QString("page-%1.pdf").arg(pages_));
        QVERIFY2(print(window, pdf) && QFileInfo(pdf).size() > 0, "nothing was printed");

        const Comparison comparison = compareWithExport(pdf, exported);
        qInfo("board %.1f x %.1f pt at (%.1f, %.1f): %.3f %% of the exported picture's %d x %d "
              "pixels differ",
              comparison.frame.width(), comparison.frame.height(), comparison.frame.x(),
              comparison.frame.y(), comparison.share * 100, exported.width(), exported.height());
        QVERIFY2(!comparison.frame.isEmpty(), "no board on the printed page");
        QVERIFY2(comparison.share <= kMostDiffering,
                 "the printed board differs from the exported picture");
        // Drawn in outlines, as sharp as the printer: below the list's two
        // lines of heading, no picture.
        const QStringList pictures =
            QString::fromUtf8(runTool("pdfimages", {"-list", pdf})).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(pictures.size() == 2,
                 qPrintable("pictures on the page: " + pictures.mid(2).join("; ")));

        // Under the board, every text of the side panel, in the panel's order.
        const std::vector<PrintedWord> words = wordsOf(pdf);
        double below = comparison.frame.bottom();
        for (const QString& text : panelTexts(window)) {
            const double top = topOfLine(words, text);
            QVERIFY2(top >= 0, qPrintable("not on the page: " + text));
            QVERIFY2(top > below,
                     qPrintable("not under the board and the text before it: " + text));
            below = top;
        }
    }

private slots:
    // A game an earlier case left unsaved would be asked about first.
    void init() { QFile::remove(Forms().recoveryPath()); }

    void initTestCase()
    {
        QVERIFY(folder_.isValid());
        for (const char* tool : {"pdftoppm", "pdftotext", "pdfimages"}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(QString("%1 is missing: install poppler-utils").arg(tool)));
        }
    }

    void printedPageShowsTheExportedBoardAndThePanel()
    {
        comparePrintedPage([](GameRoomWindow& window, const QString& pdf) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            return window.printTo(printer);
        });
    }

    void menuItemPrintsThroughItsDialog()
    {
        comparePrintedPage([](GameRoomWindow& window, const QString& pdf) {
            answerNextDialog<QPrintDialog>([pdf](QPrintDialog& dialog) {
                auto* printers = dialog.findChild<QComboBox*>("printers");
                auto* fileName = dialog.findChild<QLineEdit*>("filename");
                const int toFile = printers ? printers->findText("Print to File (PDF)") : -1;
                if (toFile < 0 || !fileName) qFatal("the print dialog offers no PDF file");
                printers->setCurrentIndex(toFile);
                fileName->setText(pdf);
                dialog.accept();
            });
            window.findChild<QAction*>("boardpos")->trigger();
            return true;
        });
    }

    void aPageThatCannotBeWrittenIsRefused()
    {
        Forms forms;
        forms.showGameRoom();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(folder_.filePath("no such folder/page.pdf"));
        QVERIFY(!forms.gameRoom()->printTo(printer));
    }

private:
    QTemporaryDir folder_;
    int pages_ = 0;
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
