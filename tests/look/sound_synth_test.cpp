// The synthesised sounds are whole, short, audible and never clipped.

#include "shell/sound_synth.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

using namespace palisade;

namespace {

std::uint32_t le32(const QByteArray& bytes, int at) { return qFromLittleEndian<std::uint32_t>(bytes.constData() + at); }
std::uint16_t le16(const QByteArray& bytes, int at) { return qFromLittleEndian<std::uint16_t>(bytes.constData() + at); }

TEST(SoundSynth, EveryKindIsAShortWholeWavOfSixteenBitMonoThatIsHeardAndNotClipped)
{
    for (int k = 0; k < kSoundKinds; ++k) {
        const QByteArray wav = synthesisedWav(static_cast<SoundKind>(k));
        ASSERT_GT(wav.size(), 44) << k;
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(le32(wav, 4), std::uint32_t(wav.size() - 8));
        EXPECT_EQ(le16(wav, 20), 1);  // PCM
        EXPECT_EQ(le16(wav, 22), 1);  // mono
        EXPECT_EQ(le32(wav, 24), std::uint32_t(kSoundRate));
        EXPECT_EQ(le16(wav, 34), 16);
        EXPECT_EQ(wav.mid(36, 4), "data");
        const std::uint32_t dataBytes = le32(wav, 40);
        ASSERT_EQ(dataBytes, std::uint32_t(wav.size() - 44));
        const double seconds = dataBytes / 2.0 / kSoundRate;
        EXPECT_GT(seconds, 0.05) << k;
        EXPECT_LT(seconds, 1.0) << k << ": a sound must never outlast a move";
        int loudest = 0;
        for (int at = 44; at < wav.size(); at += 2) {
            loudest = std::max(loudest, std::abs(int(static_cast<std::int16_t>(le16(wav, at)))));
        }
        EXPECT_GT(loudest, 32767 / 5) << k;
        EXPECT_LT(loudest, 32767) << k;
        EXPECT_EQ(wav, synthesisedWav(static_cast<SoundKind>(k))) << "the same every run";
    }
    EXPECT_NE(synthesisedWav(SoundKind::Move), synthesisedWav(SoundKind::Capture));
}

} // namespace
