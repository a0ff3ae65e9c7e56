#include "shell/sound_synth.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>
#include <vector>

namespace palisade {

namespace {

using Samples = std::vector<double>;

// One struck note: a sine with a quick attack and an exponential fade, and a
// share of noise for the knock of wood on wood.
struct Strike {
    double start;     // seconds
    double frequency; // Hz
    double length;    // seconds
    double loudness;  // 0..1
    double knock;     // share of noise, 0..1
};

void addStrike(Samples& samples, const Strike& strike, std::minstd_rand& noise)
{
    std::uniform_real_distribution<double> hiss(-1.0, 1.0);
    const int first = static_cast<int>(strike.start * kSoundRate);
    const int count = static_cast<int>(strike.length * kSoundRate);
    if (first + count > static_cast<int>(samples.size())) samples.resize(first + count, 0.0);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kSoundRate;
        const double attack = std::min(1.0, t / 0.003);
        const double fade = std::exp(-5.0 * t / strike.length);
        const double tone = std::sin(2 * std::numbers::pi * strike.frequency * t);
        // The knock dies away much faster than the tone.
        const double knock = hiss(noise) * std::exp(-40.0 * t / strike.length);
        samples[first + i] += strike.loudness * attack * fade * ((1 - strike.knock) * tone + strike.knock * knock);
    }
}

std::vector<Strike> strikesOf(SoundKind kind)
{
    switch (kind) {
    case SoundKind::Move: return {{0.0, 740, 0.09, 0.55, 0.35}};
    case SoundKind::Capture: return {{0.0, 520, 0.14, 0.7, 0.5}, {0.035, 410, 0.12, 0.55, 0.5}};
    case SoundKind::Castle: return {{0.0, 740, 0.09, 0.55, 0.35}, {0.11, 620, 0.1, 0.55, 0.35}};
    case SoundKind::Check: return {{0.0, 880, 0.22, 0.45, 0.05}, {0.09, 1320, 0.26, 0.4, 0.05}};
    case SoundKind::GameEnd:
        return {{0.0, 523.25, 0.45, 0.35, 0.0}, {0.14, 659.25, 0.45, 0.35, 0.0}, {0.28, 783.99, 0.6, 0.4, 0.0}};
    case SoundKind::LowTime:
        return {{0.0, 1000, 0.07, 0.4, 0.0}, {0.12, 1000, 0.07, 0.4, 0.0}, {0.24, 1000, 0.07, 0.4, 0.0}};
    }
    return {};
}

void putLe16(QByteArray& bytes, std::uint16_t value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void putLe32(QByteArray& bytes, std::uint32_t value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

QByteArray wavOf(const Samples& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    QByteArray wav;
    wav.reserve(44 + int(dataBytes));
    wav.append("RIFF");
    putLe32(wav, 36 + dataBytes);
    wav.append("WAVEfmt ");
    putLe32(wav, 16);             // the format chunk's size
    putLe16(wav, 1);              // PCM
    putLe16(wav, 1);              // mono
    putLe32(wav, kSoundRate);
    putLe32(wav, kSoundRate * 2); // bytes a second
    putLe16(wav, 2);              // bytes a frame
    putLe16(wav, 16);             // bits a sample
    wav.append("data");
    putLe32(wav, dataBytes);
    for (const double sample : samples) {
        const double clipped = std::clamp(sample, -1.0, 1.0);
        putLe16(wav, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clipped * 32767))));
    }
    return wav;
}

} // namespace

QByteArray synthesisedWav(SoundKind kind)
{
    // A fixed seed: the same sound every run.
    std::minstd_rand noise(20261207);
    Samples samples;
    for (const Strike& strike : strikesOf(kind)) addStrike(samples, strike, noise);
    return wavOf(samples);
}

} // namespace palisade
