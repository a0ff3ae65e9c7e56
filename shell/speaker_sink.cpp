#include "shell/speaker_sink.h"

#include "shell/sound_synth.h"

#include <QAudioDevice>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace palisade {

namespace {

// A file that could not be written leaves that kind silent.
bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

SpeakerSink::SpeakerSink()
{
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !folder_.isValid()) return;
    for (int k = 0; k < kSoundKinds; ++k) {
        const QString path = folder_.filePath(QString("sound-%1.wav").arg(k));
        if (!writeFile(path, synthesisedWav(static_cast<SoundKind>(k)))) continue;
        auto effect = std::make_unique<QSoundEffect>(output);
        effect->setSource(QUrl::fromLocalFile(path));
        effects_[k] = std::move(effect);
    }
}

SpeakerSink::~SpeakerSink() = default;

void SpeakerSink::play(SoundKind kind, double volume)
{
    QSoundEffect* effect = effects_[static_cast<int>(kind)].get();
    if (!effect) return;
    effect->setVolume(static_cast<float>(volume));
    effect->play();
}

} // namespace palisade
