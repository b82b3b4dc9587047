#pragma once

#include "core/sidetone.h"
#include "core/spscring.h"
#include "core/wavwriter.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <thread>
#include <vector>

class SoundOutput;

// Plays the sidetone and keeps the keyer's clock: the number of samples
// played. What the keyer does after a group (the "OK", the keyed-back
// reports) is tied to sample positions with at(), so it happens where the
// sound says, sample-exact, whatever drives the playing:
//
//   - in real time, a thread of its own keeps the sound server a little
//     ahead, and writes that lead again as soon as the key moves, so a
//     press is heard within milliseconds while a machine that stalls for a
//     while does not break the tone up; without a server the clock paces it;
//   - in fast mode, this object's thread renders straight on as long as
//     something is scheduled, with no waiting at all.
//
// Only the renderer touches the Sidetone. Everything reaches it without a
// lock, so the sound thread never waits on the window: the key, pitch and
// volume as atomics, the schedule through a ring of segments that each carry
// their sample position. The position settled (heard, or about to be, and
// no longer changed) comes back as an atomic, its samples for the
// recording through a second ring.
class Player : public QObject
{
    Q_OBJECT

public:
    enum class Pace { Fast, RealTime };

    Player(Pace pace, double toneHz, QObject *parent = nullptr);
    ~Player() override;

    // Opens the sound output, unless fast, and the recording. Says once on
    // stderr when it plays silently.
    bool start(const QString &wavPath);

    int sampleRate() const { return m_rate; }
    bool playsSound() const { return m_playsSound; }

    // The position rendered so far; while an action runs, the action's.
    qint64 now();

    // Schedules segments after what is scheduled and returns where they
    // start: where the schedule ends or, if it has run out, as soon as the
    // first tone can still be played whole.
    qint64 append(const std::vector<ToneSegment> &segments);
    qint64 scheduleEnd() const { return m_end; }
    // Drops what is scheduled; a tone that sounds fades out as usual.
    void clearSchedule();

    // Runs `action` once the samples before `position` have been played.
    void at(qint64 position, std::function<void()> action);

    // After a while with nothing to play and the key untouched, the sound
    // output stands still and costs nothing, nor does the keyer's clock
    // run; a key, a group or prepare() starts it again. While ready is
    // kept (the keyer window has the keyboard) it never stands still.
    void prepare();
    void setKeepReady(bool ready);

    // The trainee's key: sounds while down.
    void setKey(bool down);
    bool key() const { return m_key; }
    double frequency() const { return m_frequency; }
    void setFrequency(double hertz) { m_frequency = hertz; }
    double volume() const { return m_volume; }
    void setVolume(double volume) { m_volume = qBound(0.0, volume, 1.0); }

private:
    struct Command {
        bool clear = false;
        qint64 start = 0;
        ToneSegment segment;
    };

    void command(const Command &command);
    void wakeSoundThread();
    void wakePump();
    void takeChanges(qint64 settled);
    void renderBlock(qint16 *out, qint64 count);
    void soundLoop(std::promise<void> opened);
    void pump();
    void drainRecording();
    void record(const qint16 *samples, qint64 count);
    void render(qint16 *out, qint64 count);
    void renderFast();
    void fireDue(qint64 position);

    const Pace m_pace;
    int m_rate;
    Sidetone m_sidetone; // the renderer's
    WavWriter m_wav;
    std::multimap<qint64, std::function<void()>> m_actions;
    QTimer m_pump;
    qint64 m_end = 0; // where the schedule ends, as far as this thread knows
    bool m_firing = false;
    qint64 m_firingAt = 0;

    std::unique_ptr<SoundOutput> m_output; // the sound thread's, but for wake()
    std::thread m_thread;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_playsSound = false;
    std::atomic<bool> m_recordingLost = false;
    bool m_noted = false;

    std::atomic<bool> m_key = false;
    std::atomic<bool> m_wanted = false;    // prepare() was called: the window's, taken by the sound thread
    std::atomic<bool> m_keepReady = false; // the window's
    std::atomic<bool> m_idle = false;      // the sound thread's: the output stands still
    std::atomic<double> m_frequency;
    std::atomic<double> m_volume = 1;
    std::atomic<qint64> m_position = 0;
    SpscRing<Command, 4096> m_commands;
    std::unique_ptr<SpscRing<qint16, 65536>> m_recorded; // with a recording and a sound output
};
