#include "shell/print_board.h"

#include "gameroom/game_room.h"
#include "shell/board_export.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <vector>

namespace palisade {

namespace {

constexpr double kPanelPoints = 11.0;
const QColor kPanelInk(0x1a, 0x1a, 0x1a);
const QColor kCheckInk(0xc0, 0x39, 0x2b);

struct PrintedLine {
    QString text;
    QFont font;
    QColor ink;
};

// The side panel's sizes: the status and "Check!" large, the notation a
// little larger than the rest.
QFont panelFont(double factor, bool bold)
{
    QFont font("DejaVu Sans");
    font.setPointSizeF(kPanelPoints * factor);
    font.setBold(bold);
    return font;
}

std::vector<PrintedLine> panelLines(const SidePanelTexts& texts)
{
    std::vector<PrintedLine> lines = {{texts.winOption, panelFont(1.0, false), kPanelInk},
                                      {texts.status, panelFont(1.6, true), kPanelInk}};
    if (texts.check) lines.push_back({"Check!", panelFont(1.6, true), kCheckInk});
    lines.push_back({texts.moveNumber, panelFont(1.0, false), kPanelInk});
    if (!texts.notation.isEmpty())
        lines.push_back({texts.notation, panelFont(1.2, true), kPanelInk});
    return lines;
}

double heightOf(const std::vector<PrintedLine>& lines, const QPaintDevice& device)
{
    double height = 0.0;
    for (const PrintedLine& line : lines) height += QFontMetricsF(line.font, &device).lineSpacing();
    return height;
}

} // namespace

SidePanelTexts sidePanelTextsOf(const GameRoom& room)
{
    return {QString::fromUtf8(room.winOptionText()), QString::fromUtf8(room.statusText()),
            room.checkShown(), QString::fromStdString(room.moveNumberText()),
            QString::fromStdString(room.notation())};
}

bool printBoardPosition(QPrinter& printer, const BoardScene& scene, const SidePanelTexts& texts)
{
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const std::vector<PrintedLine> lines = panelLines(texts);
    const double gap = QFontMetricsF(panelFont(1.0, false), &printer).lineSpacing();
    const QSizeF page(printer.width(), printer.height());
    const QSizeF frame = sceneFrame(scene).size();
    const double scale =
        std::min(page.width() / frame.width(),
                 (page.height() - gap - heightOf(lines, printer)) / frame.height());
    const QPointF corner((page.width() - frame.width() * scale) / 2, 0);
    paintSceneAt(painter, scene, corner, scale);

    double y = corner.y() + frame.height() * scale + gap;
    for (const PrintedLine& line : lines) {
        const QFontMetricsF metrics(line.font, &printer);
        painter.setFont(line.font);
        painter.setPen(line.ink);
        painter.drawText(QPointF(corner.x(), y + metrics.ascent()), line.text);
        y += metrics.lineSpacing();
    }
    return painter.end();
}

bool choosePrinter(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("Print Board Position");
    return dialog.exec() == QDialog::Accepted;
}

} // namespace palisade
