#include "shell/board_export.h"

#include "gameroom/game_room.h"
#include "render/board_painter.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <functional>

namespace palisade {

namespace {

constexpr double kPngSharpness = 2.0;
constexpr int kSheetColumns = 3;

// Opens a file beside `path`, lets `write` fill it, and renames it over `path`
// only when all went well.
std::optional<QString> writeWhole(const QString& path, const std::function<bool(QSaveFile&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (!write(file)) {
        file.cancelWriting();
        return QString("the picture could not be written");
    }
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

void writeMoves(QPdfWriter& pdf, QPainter& painter, const ScoreSheet& sheet, double top)
{
    const QFont plain("DejaVu Sans", 9);
    QFont bold = plain;
    bold.setBold(true);
    painter.setFont(plain);
    const double rowHeight = painter.fontMetrics().height() * 1.3;
    const double columnWidth = pdf.width() / double(kSheetColumns);
    int column = 0;
    double y = top;
    for (int k = 0; k < sheet.moves.size(); k += 2) {
        if (y + rowHeight > pdf.height()) {
            y = top;
            if (++column == kSheetColumns) {
                pdf.newPage();
                column = 0;
                y = top = 0;
            }
        }
        const double x = column * columnWidth;
        const int number = k / 2 + 1;
        painter.setFont(plain);
        painter.drawText(QPointF(x, y + rowHeight), QString("%1.").arg(number));
        for (int half = 0; half < 2 && k + half < sheet.moves.size(); ++half) {
            // The move that led to the position shown is set in bold.
            painter.setFont(k + half + 1 == sheet.current ? bold : plain);
            painter.drawText(QPointF(x + columnWidth * (0.15 + 0.42 * half), y + rowHeight),
                             sheet.moves[k + half]);
        }
        y += rowHeight;
    }
}

} // namespace

void paintSceneAt(QPainter& painter, const BoardScene& scene, QPointF at, double scale)
{
    const QRectF frame = sceneFrame(scene);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(at);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(QPointF(0, 0), frame.size()), scene.theme.background);
    painter.translate(-frame.topLeft());
    paintScene(painter, scene);
    painter.restore();
}

ScoreSheet scoreSheetOf(const GameRoom& room)
{
    ScoreSheet sheet;
    const QString fileName = QFileInfo(QString::fromStdString(room.fileName())).fileName();
    sheet.title = "Palisade Brindle - " + (fileName.isEmpty() ? QString("unsaved game") : fileName);
    sheet.details = {QString::fromUtf8(room.statusText()),
                     QString::fromStdString(room.moveNumberText()),
                     "Win option: " + QString::fromUtf8(room.winOptionText())};
    const MoveHistory& history = room.history();
    for (int k = 1; k <= history.lastHalfMove(); ++k) {
        sheet.moves << QString::fromStdString(history.moveText(k));
    }
    sheet.current = history.halfMoves();
    return sheet;
}

std::optional<QString> exportPng(const QString& path, const BoardScene& scene)
{
    const QSizeF size = sceneFrame(scene).size() * kPngSharpness;
    QImage picture(size.toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&picture);
    paintSceneAt(painter, scene, QPointF(0, 0), kPngSharpness);
    painter.end();
    return writeWhole(path, [&picture](QSaveFile& file) { return picture.save(&file, "PNG"); });
}

std::optional<QString> exportSvg(const QString& path, const BoardScene& scene)
{
    return writeWhole(path, [&scene](QSaveFile& file) {
        const QSizeF size = sceneFrame(scene).size();
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size.toSize());
        svg.setViewBox(QRectF(QPointF(0, 0), size));
        svg.setTitle("Palisade Brindle board");
        QPainter painter(&svg);
        paintSceneAt(painter, scene, QPointF(0, 0), 1.0);
        return painter.end();
    });
}

std::optional<QString> exportScoreSheet(const QString& path, const BoardScene& scene,
                                        const ScoreSheet& sheet)
{
    return writeWhole(path, [&](QSaveFile& file) {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(144);
        pdf.setTitle(sheet.title);
        pdf.setCreator("Palisade Brindle");
        QPainter painter(&pdf);

        QFont title("DejaVu Sans", 15);
        title.setBold(true);
        painter.setFont(title);
        double y = painter.fontMetrics().height();
        painter.drawText(QPointF(0, y), sheet.title);
        painter.setFont(QFont("DejaVu Sans", 10));
        y += painter.fontMetrics().height() * 1.5;
        painter.drawText(QPointF(0, y), sheet.details.join("    "));
        y += painter.fontMetrics().height();

        // The board fills the width, or 60% of the height if that is less.
        const QSizeF frame = sceneFrame(scene).size();
        const double scale =
            std::min(pdf.width() / frame.width(), 0.6 * pdf.height() / frame.height());
        paintSceneAt(painter, scene, QPointF((pdf.width() - frame.width() * scale) / 2, y), scale);
        writeMoves(pdf, painter, sheet,
                   y + frame.height() * scale + painter.fontMetrics().height());
        return painter.end();
    });
}

} // namespace palisade
