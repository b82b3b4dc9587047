#pragma once

#include "core/morseplan.h"

#include <QtGlobal>

#include <deque>

// The sidetone as 16-bit mono samples. Tone and silence come from a
// schedule of segments, played back to back, and from a live key (the
// trainee's straight key) that sounds whenever it is down.
//
// Each switch of the tone is softened by a raised-cosine edge: the rise
// starts where a tone starts and the fall where it ends, both lasting the
// edge time. The half-amplitude points therefore sit half an edge after
// both ends, and a tone measured between them lasts exactly its samples.
class Sidetone
{
public:
    explicit Sidetone(int sampleRate, double frequency = 600, double edgeMilliseconds = 5);

    int sampleRate() const { return m_sampleRate; }
    double frequency() const { return m_frequency; }
    void setFrequency(double hertz) { m_frequency = hertz; }
    double volume() const { return m_volume; }
    void setVolume(double volume); // 0 to 1

    // Schedules a segment to start at the sample position `start`, at or
    // after the end of what is scheduled; a gap before it is silence. Whoever
    // schedules may be a little late: the part of the segment that should
    // already have sounded is left out, so what follows keeps its place.
    void append(qint64 start, ToneSegment segment);

    // Drops what is scheduled; a tone that sounds fades out as usual.
    void clearSchedule();

    void setLiveKey(bool down) { m_liveKey = down; }
    bool liveKey() const { return m_liveKey; }

    // Samples produced so far, and where the schedule runs out.
    qint64 position() const { return m_position; }
    qint64 scheduleEnd() const { return m_position + m_scheduled; }

    // True when the output is silence and will stay so until something is
    // appended or the key goes down.
    bool quiet() const { return m_scheduled == 0 && !m_liveKey && m_edgeStep == 0; }

    void render(qint16 *out, qint64 count);

    // Full scale of the tone at volume 1: half of the 16-bit range.
    static constexpr double amplitude = 16383;

private:
    int m_sampleRate;
    double m_frequency;
    double m_volume = 1;
    int m_edgeSamples;
    int m_edgeStep = 0;  // 0 silent, m_edgeSamples full tone, between: on an edge
    double m_phase = 0;  // in cycles, 0 to 1
    bool m_liveKey = false;
    qint64 m_position = 0;
    qint64 m_scheduled = 0;
    std::deque<ToneSegment> m_schedule; // the first one is partly played
};
