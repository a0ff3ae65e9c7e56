#pragma once

#include "shell/sound_board.h"

#include <QTemporaryDir>

#include <array>
#include <memory>

class QSoundEffect;

namespace palisade {

// The sounds played on the default audio output through QSoundEffect, one
// effect a kind, made once from WAV files written into a folder of its own
// that goes when the sink goes. Without an output it stays silent.
class SpeakerSink : public SoundSink {
public:
    SpeakerSink();
    ~SpeakerSink() override;

    void play(SoundKind kind, double volume) override;

private:
    QTemporaryDir folder_;
    std::array<std::unique_ptr<QSoundEffect>, kSoundKinds> effects_;
};

} // namespace palisade
