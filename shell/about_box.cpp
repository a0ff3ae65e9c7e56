#include "shell/about_box.h"

#include "render/pictures.h"
#include "shell/labels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace palisade {


AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setObjectName("abouting");
    setWindowTitle("About Box");

    auto* image = new QLabel(this);
    image->setObjectName("Image1");
    image->setPixmap(twoKingsPicture(QSize(96, 72), devicePixelRatioF()));

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
