#pragma once

#include <QString>
#include <QtGlobal>

#include <atomic>
#include <chrono>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

// The sound server (PulseAudio, or PipeWire's PulseAudio service) as a
// stream of 16-bit mono samples at absolute sample positions, counted from
// the opening. Samples are written ahead of what is heard and may be
// written again while they have not been played: the server takes the
// newest. Everything but wake() belongs to the one thread that opened it.
class SoundOutput
{
public:
    SoundOutput();
    ~SoundOutput();
    SoundOutput(const SoundOutput &) = delete;
    SoundOutput &operator=(const SoundOutput &) = delete;

    // `requestMs` is how much the server asks for at a time, which sets how
    // far ahead of the loudspeaker it mixes.
    bool open(int sampleRate, int bufferMs, int requestMs);
    // Open, and neither the server nor the stream has failed since.
    bool isPlaying();

    // The sample being heard now; -1 while the server has not said yet.
    // While the stream is corked it stands still.
    qint64 playingPosition();
    bool write(qint64 position, const qint16 *samples, qint64 count);

    // Corks the stream (the server then neither mixes it nor wakes for it)
    // or starts it again where it stopped.
    bool setActive(bool active);
    bool isActive() const { return !m_corked; }

    // Waits until `timeoutUs` (-1: no limit) has passed, the server says something or
    // wake() is called, and handles what the server says. Works unopened.
    void wait(int timeoutUs);
    void wake(); // from any thread

    QString errorString() const { return m_error; }

private:
    bool iterateUntil(bool (*ready)(SoundOutput *), int timeoutMs);
    bool fail(const char *what);
    void askTiming();
    static void timed(pa_stream *stream, int success, void *self);
    static void corked(pa_stream *stream, int success, void *self);

    using Clock = std::chrono::steady_clock;
    int m_rate = 0;
    // What the server said last: the next sample it would take from the
    // stream, and how long the sink takes to play what it has taken.
    qint64 m_readPosition = -1;
    qint64 m_sinkDelay = 0;
    Clock::time_point m_timedAt;
    Clock::time_point m_askedAt;
    bool m_asking = false;
    bool m_corked = false;
    std::atomic<bool> m_woken = false; // since the last wait
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    QString m_error;
};
