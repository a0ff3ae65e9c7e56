#include "shell/sound_board.h"

#include "shell/speaker_sink.h"

#include <algorithm>

namespace palisade {

SoundBoard::SoundBoard(QObject* parent) : QObject(parent) {}

SoundBoard::~SoundBoard() = default;

// Switching on makes the sounds ready, so the first move's sound does not wait for them.
void SoundBoard::setOn(bool on)
{
    on_ = on;
    if (on_) sink();
}

void SoundBoard::setVolume(int percent) { volume_ = std::clamp(percent, 0, 100); }

void SoundBoard::setSink(std::unique_ptr<SoundSink> sink) { sink_ = std::move(sink); }

SoundSink& SoundBoard::sink()
{
    if (!sink_) sink_ = std::make_unique<SpeakerSink>();
    return *sink_;
}

void SoundBoard::play(SoundKind kind)
{
    if (!on_ || volume_ == 0) return;
    sink().play(kind, volume_ / 100.0);
}

void SoundBoard::playLowTime() { play(SoundKind::LowTime); }

} // namespace palisade
