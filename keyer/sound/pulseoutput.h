// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/soundoutput.h"

#include <QtGlobal>

#include <atomic>
#include <chrono>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

// PulseAudio, or PipeWire's PulseAudio service, through the asynchronous
// API: writes at absolute positions (PA_SEEK_ABSOLUTE), which the server
// lets a client rewrite until it has played them.
class PulseOutput : public SoundOutput
{
public:
    PulseOutput();
    ~PulseOutput() override;
    PulseOutput(const PulseOutput &) = delete;
    PulseOutput &operator=(const PulseOutput &) = delete;

    // Whether the server is PipeWire's PulseAudio service.
    static bool serverIsPipeWire();

    bool open(int sampleRate, qint64 position) override;
    void close() override;
    bool isPlaying() override;
    qint64 playingPosition() override;
    bool write(qint64 position, const qint16 *samples, qint64 count) override;
    void wait(int timeoutUs) override;
    void wake() override;
    QString errorString() const override { return m_error; }

private:
    bool connect(); // to the server, without a stream yet
    bool iterateUntil(bool (*ready)(PulseOutput *), int timeoutMs);
    bool fail(const char *what);
    void askTiming();
    static void timed(pa_stream *stream, int success, void *self);

    using Clock = std::chrono::steady_clock;
    int m_rate = 0;
    qint64 m_base = 0; // the keyer's position of the stream's first sample
    // What the server said last: the next sample it would take from the
    // stream, and how long the sink takes to play what it has taken.
    qint64 m_readPosition = -1;
    qint64 m_sinkDelay = 0;
    Clock::time_point m_timedAt;
    Clock::time_point m_askedAt;
    bool m_asking = false;
    // Counted up by every thread that calls wake(); wait(), on the sound
    // thread, keeps the count it has handled as its own.
    std::atomic<quint32> m_wakes = 0;
    quint32 m_wakesHandled = 0;
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    pa_stream *m_stream = nullptr;
    QString m_error;
};
