#include "colour_vision.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace palisade::colour_vision {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;
using Triple = std::array<double, 3>;

// The severity-1.0 rows of the model's published table.
constexpr Matrix kProtanopia = {{{0.152286, 1.052583, -0.204868},
                                 {0.114503, 0.786281, 0.099216},
                                 {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {{{0.367322, 0.860646, -0.227968},
                                   {0.280085, 0.672501, 0.047413},
                                   {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix kTritanopia = {{{1.255528, -0.076749, -0.178779},
                                 {-0.078411, 0.930809, 0.147602},
                                 {0.004733, 0.691367, 0.303900}}};
// Linear sRGB to XYZ, and the D65 white.
constexpr Matrix kToXyz = {{{0.4124564, 0.3575761, 0.1804375},
                            {0.2126729, 0.7151522, 0.0721750},
                            {0.0193339, 0.1191920, 0.9503041}}};
constexpr Triple kWhite = {0.95047, 1.0, 1.08883};

Triple times(const Matrix& m, const Triple& v)
{
    Triple out{};
    for (int i = 0; i < 3; ++i) out[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
    return out;
}

double toLinear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double fromLinear(double channel)
{
    const double c = std::clamp(channel, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

Triple linearOf(const QColor& colour)
{
    return {toLinear(colour.redF()), toLinear(colour.greenF()), toLinear(colour.blueF())};
}

const Matrix* matrixOf(Vision vision)
{
    switch (vision) {
    case Vision::Normal: return nullptr;
    case Vision::Protanopia: return &kProtanopia;
    case Vision::Deuteranopia: return &kDeuteranopia;
    case Vision::Tritanopia: return &kTritanopia;
    }
    return nullptr;
}

Triple seenLinear(const QColor& colour, Vision vision)
{
    Triple rgb = linearOf(colour);
    if (const Matrix* m = matrixOf(vision)) rgb = times(*m, rgb);
    for (double& c : rgb) c = std::clamp(c, 0.0, 1.0);
    return rgb;
}

Lab labOfLinear(const Triple& rgb)
{
    const Triple xyz = times(kToXyz, rgb);
    auto f = [](double t) {
        constexpr double d = 6.0 / 29.0;
        return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
    };
    const double fx = f(xyz[0] / kWhite[0]);
    const double fy = f(xyz[1] / kWhite[1]);
    const double fz = f(xyz[2] / kWhite[2]);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double radians(double degrees) { return degrees * std::numbers::pi / 180.0; }
double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// Hue angle in degrees, 0..360; 0 for a grey.
double hueOf(double a, double b)
{
    if (a == 0 && b == 0) return 0;
    const double h = degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
}

double pow7(double x) { return std::pow(x, 7); }

} // namespace

const char* nameOf(Vision vision)
{
    switch (vision) {
    case Vision::Normal: return "normal";
    case Vision::Protanopia: return "protanopia";
    case Vision::Deuteranopia: return "deuteranopia";
    case Vision::Tritanopia: return "tritanopia";
    }
    return "";
}

Lab labOf(const QColor& colour) { return labOfLinear(linearOf(colour)); }

QColor simulated(const QColor& colour, Vision vision)
{
    const Triple rgb = seenLinear(colour, vision);
    return QColor::fromRgbF(float(fromLinear(rgb[0])), float(fromLinear(rgb[1])), float(fromLinear(rgb[2])),
                            colour.alphaF());
}

QImage simulated(const QImage& picture, Vision vision)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) line[x] = simulated(QColor::fromRgba(line[x]), vision).rgba();
    }
    return out;
}

double ciede2000(const Lab& first, const Lab& second)
{
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double cMean = (c1 + c2) / 2;
    const double g = 0.5 * (1 - std::sqrt(pow7(cMean) / (pow7(cMean) + pow7(25))));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double c1p = std::hypot(a1, first.b);
    const double c2p = std::hypot(a2, second.b);
    const double h1p = hueOf(a1, first.b);
    const double h2p = hueOf(a2, second.b);
    const bool grey = c1p * c2p == 0;

    double dhp = grey ? 0 : h2p - h1p;
    if (dhp > 180) dhp -= 360;
    if (dhp < -180) dhp += 360;
    const double dLp = second.L - first.L;
    const double dCp = c2p - c1p;
    const double dHp = 2 * std::sqrt(c1p * c2p) * std::sin(radians(dhp / 2));

    const double lMean = (first.L + second.L) / 2;
    const double cpMean = (c1p + c2p) / 2;
    double hMean = h1p + h2p;
    if (!grey) {
        if (std::abs(h1p - h2p) <= 180) hMean = (h1p + h2p) / 2;
        else if (h1p + h2p < 360) hMean = (h1p + h2p + 360) / 2;
        else hMean = (h1p + h2p - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(radians(hMean - 30)) + 0.24 * std::cos(radians(2 * hMean))
                     + 0.32 * std::cos(radians(3 * hMean + 6)) - 0.20 * std::cos(radians(4 * hMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double rc = 2 * std::sqrt(pow7(cpMean) / (pow7(cpMean) + pow7(25)));
    const double sl = 1 + 0.015 * std::pow(lMean - 50, 2) / std::sqrt(20 + std::pow(lMean - 50, 2));
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(radians(2 * dTheta)) * rc;
    const double l = dLp / sl;
    const double c = dCp / sc;
    const double h = dHp / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

double differenceSeen(const QColor& first, const QColor& second, Vision vision)
{
    return ciede2000(labOfLinear(seenLinear(first, vision)), labOfLinear(seenLinear(second, vision)));
}

QColor laidOver(const QColor& tint, const QColor& base)
{
    const double a = tint.alphaF();
    auto mix = [a](int top, int bottom) { return static_cast<int>(std::lround(top * a + bottom * (1 - a))); };
    return QColor(mix(tint.red(), base.red()), mix(tint.green(), base.green()), mix(tint.blue(), base.blue()));
}

} // namespace palisade::colour_vision
