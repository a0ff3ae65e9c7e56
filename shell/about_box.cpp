#include "shell/about_box.h"

#include "render/piece_painter.h"
#include "shell/labels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace palisade {

namespace {

// Two kings side by side: the game's double army in one picture.
QPixmap aboutPicture(qreal devicePixelRatio)
{
    const QSize size(96, 72);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPiece(painter, 6, QRectF(4, 4, 44, 64));
    paintPiece(painter, 12, QRectF(48, 4, 44, 64));
    return pixmap;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("abouting");
    setWindowTitle("About Box");

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(aboutPicture(devicePixelRatioF()));

    auto* title = makeLabel("Palisade Brindle - About Box", "Label1", this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Command1");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);

    auto* texts = new QVBoxLayout;
    texts->addWidget(title);
    texts->addWidget(makeLabel("", "Label3", this));
    texts->addWidget(makeLabel("Version 2.0", "Label4", this));
    texts->addWidget(makeLabel("Made by the Palisade Brindle developers - free to share", "Label2", this));

    auto* top = new QHBoxLayout;
    top->addWidget(image, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace palisade
