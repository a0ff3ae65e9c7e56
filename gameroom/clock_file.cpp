#include "gameroom/clock_file.h"

#include "gameroom/beside_file.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace palisade {

namespace {

constexpr std::string_view kKind = "clock";

using std::chrono::milliseconds;
using std::chrono::seconds;

// "NAME N1 N2 ...": exactly `count` plain decimal numbers, each at most `most`.
std::optional<std::vector<long long>> numbersLine(std::istream& in, const std::string& name, std::size_t count,
                                                  long long most)
{
    std::string line;
    if (!std::getline(in, line) || line.compare(0, name.size() + 1, name + " ") != 0) return std::nullopt;
    std::vector<long long> numbers;
    const char* at = line.data() + name.size();
    const char* end = line.data() + line.size();
    while (at != end) {
        if (*at++ != ' ' || at == end || *at < '0' || *at > '9') return std::nullopt;
        long long value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || value > most) return std::nullopt;
        numbers.push_back(value);
        at = next;
    }
    if (numbers.size() != count) return std::nullopt;
    return numbers;
}

std::optional<bool> startedLine(std::istream& in)
{
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    if (line == "started yes") return true;
    if (line == "started no") return false;
    return std::nullopt;
}

} // namespace

std::string clockText(const ClockState& state)
{
    std::ostringstream text;
    text << "control " << state.control.base.count() << ' ' << state.control.increment.count() << '\n'
         << "white " << state.white.count() << '\n'
         << "black " << state.black.count() << '\n'
         << "started " << (state.started ? "yes" : "no") << '\n';
    return text.str();
}

std::optional<ClockState> clockOfText(const std::string& text)
{
    std::istringstream in(text);
    const long long mostHeld = milliseconds(kMostTimeHeld).count();
    const auto control = numbersLine(in, "control", 2, seconds(kLongestControl).count());
    const auto white = numbersLine(in, "white", 1, mostHeld);
    const auto black = numbersLine(in, "black", 1, mostHeld);
    const auto started = startedLine(in);
    std::string rest;
    if (!control || !white || !black || !started || std::getline(in, rest)) return std::nullopt;
    const TimeControl kept{seconds((*control)[0]), seconds((*control)[1])};
    if (!kept.timed() || kept.increment > kLongestIncrement) return std::nullopt;
    return ClockState{kept, milliseconds((*white)[0]), milliseconds((*black)[0]), *started};
}

KeptClock readClock(const std::string& gameFileName)
{
    const BesideFile file = readBeside(gameFileName, kKind);
    if (file.state == BesideFile::State::Missing) return {};
    const auto clock = clockOfText(file.content);
    if (file.state != BesideFile::State::Belongs || !clock) return {KeptClock::State::NotThisGame, {}};
    return {KeptClock::State::Kept, *clock};
}

bool keepClock(const std::string& gameFileName, const ClockState& clock)
{
    if (clock.control.timed()) return !writeBeside(gameFileName, kKind, clockText(clock));
    removeClock(gameFileName);
    return true;
}

void removeClock(const std::string& gameFileName) { removeBeside(gameFileName, kKind); }

} // namespace palisade
