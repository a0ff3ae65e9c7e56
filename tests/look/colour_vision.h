#pragma once

#include <QColor>
#include <QImage>

// How colours look to people with one kind of cone missing, and how far apart
// two colours look: enough to check that a set of board colours stays
// readable for everyone.
namespace palisade::colour_vision {

enum class Vision { Normal, Protanopia, Deuteranopia, Tritanopia };
inline constexpr Vision kAllVisions[] = {Vision::Normal, Vision::Protanopia, Vision::Deuteranopia,
                                         Vision::Tritanopia};
const char* nameOf(Vision vision);

struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;
};

// CIELAB under D65 of an sRGB colour (alpha ignored).
Lab labOf(const QColor& colour);

// The colour as `vision` sees it: Machado, Oliveira and Fernandes' model at
// full severity, applied to linear RGB.
QColor simulated(const QColor& colour, Vision vision);
QImage simulated(const QImage& picture, Vision vision);

// The CIEDE2000 colour difference (Sharma, Wu and Dalal's formulation).
double ciede2000(const Lab& first, const Lab& second);

// How far apart the two colours look to `vision`.
double differenceSeen(const QColor& first, const QColor& second, Vision vision);

// A see-through `tint` laid over an opaque `base`, as the painter blends them.
QColor laidOver(const QColor& tint, const QColor& base);

} // namespace palisade::colour_vision
