// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sound/soundoutput.h"

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
// sound thread may overwrite until PipeWire's data thread takes them,
// a period at a time, in process(). Between the two threads only the ring
// and a few atomics pass, and that thread takes no lock and allocates
// nothing.
//
// Three threads meet here: the sound thread, which calls every member
// function but wake(); PipeWire's data thread (its data loop's, at real-time
// priority where the system grants it), which calls process();
// and the thread of PipeWire's loop (pw_thread_loop), which tells the
// stream's state and the server's errors. The loop's callbacks run under its
// lock, which the sound thread also holds whenever it calls into PipeWire
// while the loop runs.
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
    // Whether PipeWire's data thread runs at real-time priority;
    // known once open() has succeeded. PipeWire's real-time module gets it
    // from rtkit where the system has that (or sets it itself where the
    // keyer may); without either the thread is an ordinary one, and a busy
    // machine makes it miss cycles.
    bool calledInRealTime() const { return m_fromPipeWire && m_fromPipeWire->realTime; }

    // PipeWire's callbacks: process() on its real-time thread, the others
    // from its loop.
    static void processThunk(void *self);
    static void stateChangedThunk(void *self, int old, int state, const char *error);
    static void coreErrorThunk(void *self, uint32_t id, int seq, int res, const char *message);

private:
    bool fail(const QString &what);
    QString serverWords() const;
    void failedWith(const char *words);

    // What PipeWire's threads write and the sound thread reads, for one
    // stream: made anew by open() before those threads start, dropped by
    // close() once they have stopped, so that nobody else ever writes it.
    struct FromPipeWire {
        // Written by PipeWire's data thread (process()).
        qint64 streamTaken = 0; // that thread's own: stream samples taken so far
        std::atomic<qint64> taken = 0; // the keyer's samples from m_base before it may no longer change
        std::atomic<qint64> takenAtNs = 0; // when it last took some (CLOCK_MONOTONIC); 0: not yet
        std::atomic<qint64> period = 0; // how many of the keyer's samples it took then
        std::atomic<bool> streaming = false; // it has been asked for samples
        std::atomic<bool> realTime = false; // at real-time priority; set before `streaming`
        // Written on the thread of PipeWire's loop: the first failure of the
        // server or the stream, in the server's words (NUL-terminated,
        // written once, before `failed` is set).
        std::array<char, 160> error{};
        std::atomic<bool> failed = false;
    };

    static constexpr qint64 ringSize = 65536;

    // The sound thread's own, but for m_factor and m_stream, which open()
    // sets before PipeWire calls the stream, and process() reads.
    int m_rate = 0;
    int m_factor = 1; // stream samples to one of the keyer's
    qint64 m_base = 0; // the keyer's position of the stream's first sample
    qint64 m_resumedAtNs = 0; // PipeWire's position is unknown until it has taken samples after this
    int m_wakeFd = -1;
    pw_thread_loop *m_loop = nullptr;
    pw_context *m_context = nullptr;
    pw_core *m_core = nullptr;
    pw_stream *m_stream = nullptr;
    std::unique_ptr<spa_hook> m_streamListener;
    std::unique_ptr<spa_hook> m_coreListener;
    QString m_error;

    // Written by the sound thread, read by PipeWire's data thread.
    // The ring holds the keyer's samples by their position less m_base (the
    // keyer's rate; process() brings them up to the stream's), modulo its size.
    std::array<std::atomic<qint16>, ringSize> m_ring{};
    std::atomic<qint64> m_writtenEnd = 0; // the keyer's positions less m_base before it are in the ring

    std::unique_ptr<FromPipeWire> m_fromPipeWire; // while open
};
