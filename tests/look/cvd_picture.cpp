// Shows a picture as people with each kind of dichromat vision see it:
//   palisade-cvd-picture IN.png OUT-PREFIX
// writes OUT-PREFIX-protan.png, -deutan.png and -tritan.png.

#include "colour_vision.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace palisade::colour_vision;

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: palisade-cvd-picture IN.png OUT-PREFIX\n");
        return 2;
    }
    const QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "could not read %s\n", argv[1]);
        return 1;
    }
    const std::pair<Vision, const char*> kinds[] = {
        {Vision::Protanopia, "protan"}, {Vision::Deuteranopia, "deutan"}, {Vision::Tritanopia, "tritan"}};
    for (const auto& [vision, suffix] : kinds) {
        const QString path = QString::fromLocal8Bit(argv[2]) + "-" + suffix + ".png";
        if (!simulated(picture, vision).save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
