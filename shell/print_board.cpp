#include "shell/print_board.h"

#include <QPainter>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

namespace palisade {

void printWindow(QWidget& window, QPrinter& printer)
{
    // Drawn at three times the screen's size, so the board stays sharp on paper.
    constexpr qreal kSharpness = 3.0;
    QImage picture(window.size() * kSharpness, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(kSharpness);
    picture.fill(Qt::white);
    window.render(&picture);

    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize size = window.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), picture);
}

void printWithDialog(QWidget& window)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window);
    dialog.setWindowTitle("Print Board Position");
    if (dialog.exec() == QDialog::Accepted) printWindow(window, printer);
}

} // namespace palisade
