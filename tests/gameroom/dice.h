#pragma once

#include <cstddef>
#include <random>
#include <vector>

namespace palisade::trace {

// Random choices that come out the same with every standard library: the
// engine's numbers are fixed by the standard, its distributions are not.
class Dice {
public:
    explicit Dice(unsigned seed) : engine_(seed) {}

    // 0 .. n - 1, for n >= 1.
    int below(int n) { return static_cast<int>(engine_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // An index drawn in proportion to its weight; the weights add up to at least 1.
    std::size_t weighted(const std::vector<int>& weights)
    {
        int total = 0;
        for (const int w : weights) total += w;
        int roll = below(total);
        std::size_t i = 0;
        while (roll >= weights[i]) roll -= weights[i++];
        return i;
    }

private:
    std::mt19937 engine_;
};

} // namespace palisade::trace
