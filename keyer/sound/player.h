// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/wavwriter.h"
#include "sound/schedule.h"
#include "sound/soundexchange.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class FastPace;
class QSocketNotifier;
class SoundThread;

// Plays the sidetone and keeps the keyer's clock: the number of samples
// played. What the keyer does after a group (the "OK", the keyed-back
// reports) is tied to sample positions with at(), so it happens where the
// sound says, sample-exact, whatever drives the playing: the sound thread
// in real time (SoundThread), or the main thread straight on as long as
// something is scheduled (FastPace).
//
// This is the main thread's side. Everything reaches the renderer through
// a SoundExchange, without a lock, so the sound thread never waits on the
// main thread; what the renderer settles (the clock, the samples for the
// recording, the news of the sound server) comes back the same way.
class Player
    : public QObject
    , public Schedule
{
    Q_OBJECT

public:
    enum class Pace { Fast, RealTime };

    Player(Pace pace, double toneHz, QObject *parent = nullptr);
    ~Player() override;

    // Opens the sound output, unless fast, and the recording. Says once on
    // stderr when it plays silently.
    bool start(const QString &wavPath);

    int sampleRate() const override { return m_rate; }
    bool playsSound() const { return m_state == SoundState::Playing || m_state == SoundState::Resting; }
    SoundState soundState() const { return m_state; }

    // The position rendered so far; while an action runs, the action's.
    qint64 now();

    // Schedules segments after what is scheduled and returns where they
    // start: where the schedule ends or, if it has run out, as soon as the
    // first tone can still be played whole.
    qint64 append(const std::vector<ToneSegment> &segments) override;
    qint64 scheduleEnd() const override { return m_end; }
    // Drops what is scheduled; a tone that sounds fades out as usual.
    void clearSchedule() override;

    // Runs `action` once the samples before `position` have been played.
    void at(qint64 position, std::function<void()> action) override;

    // After a while with nothing to play and the key untouched, the sound
    // output rests and costs nothing, nor does the keyer's clock run; a
    // key, a group or prepare() wakes it. While ready is kept (the keyer
    // window has the keyboard) it never rests.
    void prepare() override;
    void setKeepReady(bool ready);

    // The band heard in the segments marked for it, from what is settled on;
    // its noise and stations drawn from `seed` (set before start()).
    void setBand(const BandConditions &band) override;
    void setBandSeed(quint64 seed) { m_exchange.bandSeed = seed; }

    // The trainee's key, seen at `seenNs` on the monotonic clock: sounds
    // while down, each edge as long after its moment as the first.
    void setKey(bool down, qint64 seenNs) override;
    bool key() const { return m_key; }
    // For a key adapter's reader thread (one thread only): its straight key,
    // seen at `seenNs`, to the sound thread without the main thread in
    // between, however busy that is. Empty in fast mode.
    using DirectKey = std::function<void(bool down, qint64 seenNs)>;
    DirectKey directKey();
    double frequency() const { return m_exchange.frequency; }
    void setFrequency(double hertz) { m_exchange.frequency = hertz; }
    double volume() const { return m_exchange.volume; }
    void setVolume(double volume) { m_exchange.volume = qBound(0.0, volume, 1.0); }

signals:
    void soundStateChanged();

private:
    void command(const PlayCommand &command);
    void wakeSoundThread();
    void pump();
    void takeNews();
    void drainRecording();
    void record(const qint16 *samples, qint64 count);
    void render(qint16 *out, qint64 count);
    void renderFast();
    void fireDue(qint64 position);

    const Pace m_pace;
    const int m_rate;
    SoundExchange m_exchange;
    std::unique_ptr<FastPace> m_fast;
    std::unique_ptr<SoundThread> m_thread;
    WavWriter m_wav;
    std::multimap<qint64, std::function<void()>> m_actions;
    QTimer m_pump;
    QSocketNotifier *m_news = nullptr;
    qint64 m_end = 0; // where the schedule ends, as far as this thread knows
    bool m_key = false;
    bool m_firing = false;
    qint64 m_firingAt = 0;
    bool m_noted = false; // the sound output's state has been said
    bool m_dropNoted = false; // a command has been dropped
    qint64 m_recordingLostSaid = 0; // of the exchange's recordingLost
    SoundState m_state = SoundState::Silent;
};
