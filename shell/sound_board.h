#pragma once

#include "shell/sound_kind.h"

#include <QObject>

#include <memory>

namespace palisade {

// Where the board's sounds go: the speakers, or whatever a test puts there.
class SoundSink {
public:
    virtual ~SoundSink() = default;
    // Starts the sound and returns at once; `volume` runs from 0 to 1.
    virtual void play(SoundKind kind, double volume) = 0;
};

// The game's sounds beside its beep. Each kind is made once and played from
// memory without waiting; with no audio output on the machine, or with the
// sounds switched off, nothing plays and nothing complains.
class SoundBoard : public QObject {
    Q_OBJECT
public:
    explicit SoundBoard(QObject* parent = nullptr);
    ~SoundBoard() override;

    void setOn(bool on);
    bool isOn() const { return on_; }
    // 0 to 100.
    void setVolume(int percent);

    // Replaces where the sounds go; the speakers are made only if no sink was
    // given before the sounds were first switched on or played.
    void setSink(std::unique_ptr<SoundSink> sink);

    void play(SoundKind kind);

public slots:
    // For the clock: the side to move is running out of time.
    void playLowTime();

private:
    SoundSink& sink();

    bool on_ = true;
    int volume_ = 70;
    std::unique_ptr<SoundSink> sink_;
};

} // namespace palisade
