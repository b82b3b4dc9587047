// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"
#include "core/band.h"
#include "core/morseplan.h"

#include <QtGlobal>

#include <array>
#include <deque>

// The sidetone as 16-bit mono samples. Tone and silence come from a
// schedule of segments at absolute sample positions, and from the trainee's
// key, which sounds whenever it is down.
//
// Each switch of the tone is softened by a raised-cosine edge: the rise
// starts where a tone starts and the fall where it ends, both lasting the
// edge time. The half-amplitude points therefore sit half an edge after
// both ends, and a tone measured between them lasts exactly its samples.
//
// The segments marked for the band are heard through it (core/band.h):
// the band is heard from where they start to a moment after they end, but
// never while the trainee's own key, or anything else played clean, sounds.
//
// What has been rendered can be rendered again from a recent position with
// what is known now (a key that went down, a group appended): the sound
// thread keeps a lead of samples at the sound server and rewrites it when
// the key changes. The same input gives the same samples, so a stretch
// rendered twice is the same up to the first change.
class Sidetone
{
public:
    explicit Sidetone(int sampleRate, double frequency = 600, double edgeMilliseconds = 5);

    int sampleRate() const { return m_sampleRate; }
    double frequency() const { return m_frequency; }
    void setFrequency(double hertz);
    double volume() const { return m_volume; }
    void setVolume(double volume); // 0 to 1
    // What the segments marked for the band are heard through, from the
    // render position on.
    void setBand(const BandConditions &band);
    const BandConditions &band() const { return m_receiver.conditions(); }
    // The band's noise and stations are drawn from `seed`.
    void setBandSeed(quint64 seed);

    // Schedules a segment to start at the sample position `start`, at or
    // after the end of what is scheduled; a gap before it is silence. Whoever
    // schedules may be a little late: the part of the segment that lies
    // before what is settled is left out, so what follows keeps its place.
    void append(qint64 start, ToneSegment segment);

    // Where what is scheduled ends.
    qint64 scheduleEnd() const { return m_scheduleEnd; }

    // Drops what is scheduled from the render position on; a tone that
    // sounds fades out as usual.
    void clearSchedule();

    // Where the key's edges come from: the keys the window's thread hears
    // (the space bar, the mouse, the paddles), or a key adapter's straight
    // key, whose reader thread hands its edges over itself. Each is kept on
    // its own; the tone sounds while either is down.
    enum class KeySource { Window, Adapter };

    // The key went down or up at `seenAt`: the position where the edge
    // would sound had it come here the moment it was seen. An edge that comes
    // late (its thread was held up) sounds at the earliest position that can
    // still change, and the source's edges after it are put off by as much,
    // so that every element and every gap inside a character lasts as it was
    // keyed. After the key has rested a while, the next press is put off no
    // more. Returns where the edge sounds.
    qint64 key(bool down, qint64 seenAt, KeySource source = KeySource::Window);
    bool keyDown() const;

    // The next sample to render.
    qint64 position() const { return m_position; }

    void render(qint16 *out, qint64 count);

    // Goes back to render again from `position`, or from the earliest
    // position after it that can still change: nothing before what is
    // settled. Returns where it went.
    qint64 rewindTo(qint64 position);
    // Samples before `position` will not be rendered again.
    void settle(qint64 position);

    // Full scale of the tone at volume 1: half of the 16-bit range.
    static constexpr double amplitude = 16383;

private:
    struct Span {
        qint64 start;
        qint64 end;
    };
    // The edge and the oscillator: all that carries over from one sample to
    // the next.
    struct State {
        qint64 position = 0;
        int edgeStep = 0; // 0 silent, m_edgeSamples full tone, between: on an edge
        double phase = 0; // in cycles, 0 to 1
        // The same for the tone heard through the band, and the band's own.
        int bandEdgeStep = 0;
        double bandPhase = 0;
        Band::State band;
    };

    // One source's key: down over its spans, in order, none before what is
    // settled; the last ends at keyHeld while the key is down.
    struct KeyTrack {
        std::deque<Span> spans;
        qint64 delay = 0; // how much later than seen the key sounds now
        qint64 upSeen = 0; // where the last release was seen
        bool down() const;
    };
    static bool within(const std::deque<Span> &spans, qint64 position);
    void noteState(); // a snapshot at the render position, once
    double edgedTone(bool tone, int &step, double &phase) const;

    int m_sampleRate;
    double m_frequency;
    double m_volume = 1;
    Band m_receiver;
    int m_edgeSamples;
    qint64 m_keyRestSamples;
    State m_state;
    qint64 m_position = 0;
    qint64 m_settled = 0;
    qint64 m_scheduleEnd = 0;
    std::deque<Span> m_tones; // in order, none before what is settled
    std::deque<Span> m_bandTones; // the same, heard through the band
    std::deque<Span> m_heard; // where the band is heard
    std::array<KeyTrack, 2> m_keys; // by KeySource
    std::deque<State> m_snapshots; // one each snapshotEvery samples, from the settled position on
};
