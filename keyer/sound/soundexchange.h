// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "core/morseplan.h"
#include "core/spscring.h"

#include <QtGlobal>

#include <array>
#include <atomic>
#include <memory>

class Sidetone;

// What the sound output is doing, as the window shows it.
enum class SoundState {
    Playing, // the stream runs at the sound server
    Resting, // nothing to play for a while: the stream is closed and the keyer's clock stands still
    Silent, // no sound server: the keyer's clock paces the play, and the server is looked for again now and then
};

// A change to what is played: a segment at its sample position, the
// schedule dropped from what is settled on, or the trainee's key.
struct PlayCommand {
    enum Kind { Segment, Clear, KeyDown, KeyUp };
    Kind kind = Segment;
    qint64 start = 0; // a segment's sample position; a key's moment, in ns on the monotonic clock
    ToneSegment segment;
};

// A change of the sound output's state, with the server's words for a failure.
struct SoundNews {
    SoundState state = SoundState::Playing;
    std::array<char, 160> detail{}; // NUL-terminated
};

// Everything that passes between the main thread (Player) and the thread
// that renders (the sound thread in real time; in fast mode the main thread
// itself plays both parts, FastPace), and from a key adapter's reader thread
// to the renderer. Each member has one writer, named with it, and none needs
// a lock: the renderer never waits on the main thread. Where both sides
// speak of one thing, one side counts and the other keeps, as its own, the
// count it has handled last.
struct SoundExchange {
    // Written by the main thread, read by the renderer.
    SpscRing<PlayCommand, 4096> commands; // pushed by the main thread, popped by the renderer
    SpscRing<BandConditions, 8> bands; // each change of the band; pushed by the main thread, popped by the renderer
    std::atomic<double> frequency = 600;
    std::atomic<double> volume = 1;
    // How often a run or a key has been about to need the sound: a count the
    // renderer has not handled yet keeps it from resting, or wakes it.
    std::atomic<quint32> wanted = 0;
    std::atomic<bool> keepReady = false; // the keyer window has the keyboard: never rest
    std::atomic<bool> stop = false; // the sound thread ends
    // Set by the main thread before the sound thread starts, then only read:
    // the ring for the recording (only with a recording and a sound thread;
    // pushed by the renderer, popped by the main thread) and an eventfd the
    // sound thread writes to after news, which the main thread's event loop
    // watches.
    std::unique_ptr<SpscRing<qint16, 65536>> recorded;
    int newsSignal = -1;
    quint64 bandSeed = 1; // the band's noise and stations are drawn from it

    // Written by a key adapter's reader thread (one only), read by the
    // renderer: its straight key's edges, straight from where they were seen.
    SpscRing<PlayCommand, 256> adapterKey;

    // Written by the renderer, read by the main thread.
    std::atomic<qint64> position = 0; // settled: every sample before it has been played (or is about to be)
    std::atomic<bool> resting = false;
    // Samples the recording has lost so far; the main thread keeps how many
    // it has said.
    std::atomic<qint64> recordingLost = 0;
    SpscRing<SoundNews, 16> news; // pushed by the sound thread, popped by the main thread
};

// For the renderer: hands the sidetone what the main thread has changed. Samples
// before `settled` no longer change; a cleared schedule takes effect from
// there, new segments from where they start, and a key where its moment
// falls, `settled` standing for the moment `nowNs`; what was rendered beyond
// that is rendered again. Without a clock (nowNs < 0) a key sounds from
// `settled`. The adapter's key is taken too.
void takeChanges(SoundExchange &exchange, Sidetone &sidetone, qint64 settled, qint64 nowNs);
