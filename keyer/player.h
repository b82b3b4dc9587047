#pragma once

#include "core/sidetone.h"
#include "core/wavwriter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class QAudioSink;
class QIODevice;

// Plays the sidetone and keeps the keyer's clock: the number of samples
// played. What the keyer does after a group (the "OK", the keyed-back
// reports) is tied to sample positions with at(), so it happens where the
// sound says, sample-exact, whatever drives the playing:
//
//   - a sound card, topped up with samples as it plays them;
//   - with no sound card, a timer that renders as much as real time says;
//   - in fast mode, rendering straight on as long as something is scheduled,
//     with no waiting at all.
//
// Everything rendered also goes to the WAV recording, if there is one.
class Player : public QObject
{
    Q_OBJECT

public:
    enum class Pace { Fast, RealTime };

    Player(Pace pace, double toneHz, QObject *parent = nullptr);
    ~Player() override;

    // Opens the sound card, unless fast, and the recording. Says once on
    // stderr when it plays silently.
    bool start(const QString &wavPath);

    Sidetone &sidetone() { return *m_sidetone; }
    int sampleRate() const { return m_sidetone->sampleRate(); }

    // The current position, with the silent clock brought up to real time,
    // so that what is appended now starts now.
    qint64 now();

    // Runs `action` once the samples before `position` have been played.
    void at(qint64 position, std::function<void()> action);

    // Something was appended to the sidetone or the key went down: make
    // sure it is played.
    void wake();

    bool playsSound() const { return m_sink != nullptr; }

private:
    void render(qint16 *out, qint64 count);
    void feedSoundCard();
    void renderFast();
    void renderToRealTime();
    bool busy() const;
    bool workAhead() const;
    void fireDue();

    Pace m_pace;
    std::unique_ptr<Sidetone> m_sidetone;
    WavWriter m_wav;
    std::multimap<qint64, std::function<void()>> m_actions;
    QTimer m_pump;
    QElapsedTimer m_clock; // with no sound card: position 0 was at its start
    QAudioSink *m_sink = nullptr;
    qint64 m_lastBusy = 0; // position when something last sounded or was due
    QIODevice *m_device = nullptr;
    bool m_firing = false;
};
