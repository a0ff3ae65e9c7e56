// The colour-blind-safe theme, checked with the model of dichromat vision and
// the CIEDE2000 difference; and the difference itself, against published pairs.

#include "colour_vision.h"
#include "render/theme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace palisade;
using namespace palisade::colour_vision;

namespace {

// Sharma, Wu and Dalal's test data: two Lab colours and their CIEDE2000 difference.
struct SharmaPair {
    Lab first;
    Lab second;
    double difference;
};

TEST(Ciede2000, AgreesWithThePublishedTestPairsToFourDecimals)
{
    const SharmaPair pairs[] = {
        {{50.0, 2.6772, -79.7751}, {50.0, 0.0, -82.7485}, 2.0425},
        {{50.0, 3.1571, -77.2803}, {50.0, 0.0, -82.7485}, 2.8615},
        {{50.0, 0.0, 0.0}, {50.0, -1.0, 2.0}, 2.3669},
        {{50.0, 2.49, -0.001}, {50.0, -2.49, 0.0009}, 7.1792}, // hues across the 0/360 seam
        {{50.0, 2.5, 0.0}, {73.0, 25.0, -18.0}, 27.1492},
        {{50.0, 2.5, 0.0}, {61.0, -5.0, 29.0}, 22.8977},
        {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
    };
    for (const SharmaPair& pair : pairs) {
        EXPECT_NEAR(ciede2000(pair.first, pair.second), pair.difference, 5e-5);
        EXPECT_NEAR(ciede2000(pair.second, pair.first), pair.difference, 5e-5) << "the order matters not";
    }
    EXPECT_EQ(ciede2000({40, 10, -20}, {40, 10, -20}), 0.0);
}

TEST(ColourVision, GreysStayGreyAndLabOfWhiteIsAHundred)
{
    const Lab white = labOf(Qt::white);
    EXPECT_NEAR(white.L, 100.0, 0.01);
    EXPECT_NEAR(white.a, 0.0, 0.01);
    EXPECT_NEAR(white.b, 0.0, 0.01);
    for (const Vision vision : kAllVisions) {
        // Each row of the model's matrices sums to one: neutral colours keep their look.
        const QColor grey = simulated(QColor(128, 128, 128), vision);
        EXPECT_NEAR(grey.red(), 128, 1) << nameOf(vision);
        EXPECT_NEAR(grey.green(), 128, 1) << nameOf(vision);
        EXPECT_NEAR(grey.blue(), 128, 1) << nameOf(vision);
    }
    // A brick red and an olive green, far apart to most people, come close
    // without red or green cones, and stay apart without blue ones.
    const QColor red(170, 90, 60), green(110, 125, 50);
    EXPECT_GT(differenceSeen(red, green, Vision::Normal), 30);
    EXPECT_LT(differenceSeen(red, green, Vision::Protanopia), 10);
    EXPECT_LT(differenceSeen(red, green, Vision::Deuteranopia), 10);
    EXPECT_GT(differenceSeen(red, green, Vision::Tritanopia), 25);
}

// A colour as it shows on the board, and what it is called in a failure.
struct Shown {
    std::string name;
    QColor colour;
};

std::vector<Shown> overEachSquare(const std::string& name, const QColor& tint, const BoardTheme& theme)
{
    return {{name + " on a light square", laidOver(tint, theme.lightSquare)},
            {name + " on a dark square", laidOver(tint, theme.darkSquare)}};
}

std::vector<Shown> fillOf(const std::string& side, const PieceColours& colours)
{
    return {{side + " pieces' top", colours.light}, {side + " pieces' foot", colours.deep}};
}

// Every pair of colours a player must tell apart on the board: besides the
// aids against each other and against the squares, the two colours of square,
// and each side's pieces on the tints they stand on (the king in check, its
// attackers, the piece that just moved).
std::vector<std::pair<Shown, Shown>> pairsToTellApart(const BoardTheme& theme)
{
    const std::vector<Shown> squares = {{"light square", theme.lightSquare}, {"dark square", theme.darkSquare}};
    const std::vector<Shown> lightSquare = {squares.front()};
    const std::vector<Shown> darkSquare = {squares.back()};
    const std::vector<Shown> mark = {{"target mark", theme.markInk}};
    const auto lastMove = overEachSquare("last move", theme.lastMoveTint, theme);
    const auto king = overEachSquare("king in check", theme.attackedKingTint, theme);
    const auto attacker = overEachSquare("attacker", theme.attackerTint, theme);
    const auto white = fillOf("White's", theme.white);
    const auto black = fillOf("Black's", theme.black);
    const std::pair<const std::vector<Shown>*, const std::vector<Shown>*> groups[] = {
        {&mark, &squares},    {&lastMove, &squares}, {&lastMove, &mark},     {&king, &attacker},
        {&king, &squares},    {&attacker, &squares}, {&king, &lastMove},     {&attacker, &lastMove},
        {&white, &black},     {&white, &squares},    {&black, &squares},     {&lightSquare, &darkSquare},
        {&king, &white},      {&king, &black},       {&attacker, &white},    {&attacker, &black},
        {&lastMove, &white},  {&lastMove, &black}};
    std::vector<std::pair<Shown, Shown>> pairs;
    for (const auto& [one, other] : groups) {
        for (const Shown& first : *one) {
            for (const Shown& second : *other) pairs.emplace_back(first, second);
        }
    }
    return pairs;
}

TEST(ColourBlindTheme, EveryPairToTellApartDiffersByTwentyForEveryVision)
{
    const BoardTheme& theme = boardThemeNamed(kColourBlindThemeName);
    ASSERT_EQ(theme.name, kColourBlindThemeName);
    const auto pairs = pairsToTellApart(theme);
    ASSERT_EQ(pairs.size(), 2u + 4 + 2 + 4 + 4 + 4 + 4 + 4 + 4 + 4 + 4 + 1 + 6 * 4);
    for (const Vision vision : kAllVisions) {
        for (const auto& [first, second] : pairs) {
            EXPECT_GE(differenceSeen(first.colour, second.colour, vision), 20.0)
                << first.name << " vs " << second.name << " with " << nameOf(vision);
        }
    }
}

} // namespace
