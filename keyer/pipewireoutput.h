// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "soundoutput.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

struct pw_core;
struct pw_context;
struct pw_stream;
struct pw_thread_loop;
struct spa_hook;

// PipeWire's own stream (pw_stream), for a desktop whose sound server is
// PipeWire: through its PulseAudio service a client cannot ask for less
// than 256/48000 of latency, here it asks for a graph period of 128/48000.
//
// PipeWire does not take back what it has been given, so the lead stays on
// this side: write() puts samples into a ring at their position, which the
// sound thread may overwrite until PipeWire's real-time thread takes them,
// a period at a time, in process(). Between the two threads only the ring
// and a few atomics pass, and that thread takes no lock and allocates
// nothing.
class PipeWireOutput : public SoundOutput
{
public:
    PipeWireOutput();
    ~PipeWireOutput() override;
    PipeWireOutput(const PipeWireOutput &) = delete;
    PipeWireOutput &operator=(const PipeWireOutput &) = delete;

    bool open(int sampleRate, qint64 position) override;
    void close() override;
    void rest() override;
    bool resume(int sampleRate, qint64 position) override;
    bool isPlaying() override;
    qint64 playingPosition() override;
    bool write(qint64 position, const qint16 *samples, qint64 count) override;
    void wait(int timeoutUs) override;
    void wake() override;
    QString errorString() const override { return m_error; }
    // Whether PipeWire's thread calls this stream at real-time priority;
    // known once open() has succeeded. PipeWire's real-time module gets it
    // from rtkit where the system has that (or sets it itself where the
    // keyer may); without either the thread is an ordinary one, and a busy
    // machine makes it miss cycles.
    bool calledInRealTime() const { return m_realTime; }

    // PipeWire's callbacks, on its thread.
    static void processThunk(void *self);
    static void stateChangedThunk(void *self, int old, int state, const char *error);
    static void coreErrorThunk(void *self, uint32_t id, int seq, int res, const char *message);

private:
    bool fail(const QString &what);

    static constexpr qint64 ringSize = 65536;
    int m_rate = 0;
    int m_factor = 1; // stream samples to one of the keyer's
    qint64 m_base = 0;
    int m_wakeFd = -1;
    pw_thread_loop *m_loop = nullptr;
    pw_context *m_context = nullptr;
    pw_core *m_core = nullptr;
    pw_stream *m_stream = nullptr;
    std::unique_ptr<spa_hook> m_streamListener;
    std::unique_ptr<spa_hook> m_coreListener;
    QString m_error;

    // Written by the sound thread, read by PipeWire's thread.
    std::array<std::atomic<qint16>, ringSize> m_ring{}; // by stream position modulo the size
    std::atomic<qint64> m_writtenEnd = 0; // stream positions before it are in the ring
    // Written by PipeWire's thread, read by the sound thread.
    qint64 m_streamTaken = 0;            // PipeWire's thread's own: stream samples taken so far
    std::atomic<qint64> m_taken = 0;     // the keyer's samples before it may no longer change
    std::atomic<qint64> m_takenAtNs = 0; // when it last took some (CLOCK_MONOTONIC)
    std::atomic<qint64> m_period = 0;    // how many it took then
    std::atomic<bool> m_streaming = false;
    std::atomic<bool> m_realTime = false;
    std::atomic<bool> m_failed = false;
};
