// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sidetone.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// How often the edge and the oscillator are noted down for rendering again.
constexpr qint64 snapshotEvery = 16;
// A rest of the key this long ends a character at any speed up to 36 words
// a minute; after it a press sounds as soon as it can again.
constexpr double keyRestMs = 100;
// How long the band is heard after the last of what is played through it.
constexpr double bandTailMs = 300;
// The end of a key-down span while the key is held.
constexpr qint64 keyHeld = std::numeric_limits<qint64>::max();

} // namespace

Sidetone::Sidetone(int sampleRate, double frequency, double edgeMilliseconds)
    : m_sampleRate(sampleRate)
    , m_frequency(frequency)
    , m_edgeSamples(std::max(1, int(std::lround(edgeMilliseconds * sampleRate / 1000.0))))
    , m_keyRestSamples(std::llround(keyRestMs * sampleRate / 1000.0))
    , m_receiver(sampleRate, frequency, 1)
{ }

void Sidetone::setFrequency(double hertz)
{
    m_frequency = hertz;
    m_receiver.setToneFrequency(hertz);
}

void Sidetone::setBand(const BandConditions &band)
{
    m_receiver.setConditions(band);
}

void Sidetone::setBandSeed(quint64 seed)
{
    const BandConditions band = m_receiver.conditions();
    m_receiver = Band(m_sampleRate, m_frequency, seed);
    m_receiver.setConditions(band);
}

void Sidetone::setVolume(double volume)
{
    m_volume = std::clamp(volume, 0.0, 1.0);
}

void Sidetone::append(qint64 start, ToneSegment segment)
{
    const qint64 end = start + segment.samples;
    start = std::max({start, m_scheduleEnd, m_settled});
    if (end <= start)
        return;
    m_scheduleEnd = end;
    const auto add = [](std::deque<Span> &spans, Span span) {
        if (!spans.empty() && spans.back().end >= span.start)
            spans.back().end = std::max(spans.back().end, span.end);
        else
            spans.push_back(span);
    };
    if (segment.band)
        add(m_heard, {start, end + qint64(bandTailMs * m_sampleRate / 1000)});
    if (segment.tone)
        add(segment.band ? m_bandTones : m_tones, {start, end});
}

void Sidetone::clearSchedule()
{
    for (std::deque<Span> *spans : {&m_tones, &m_bandTones, &m_heard}) {
        while (!spans->empty() && spans->back().start >= m_position)
            spans->pop_back();
        if (!spans->empty())
            spans->back().end = std::min(spans->back().end, m_position);
    }
    m_scheduleEnd = m_position;
}

bool Sidetone::KeyTrack::down() const
{
    return !spans.empty() && spans.back().end == keyHeld;
}

bool Sidetone::keyDown() const
{
    return m_keys[0].down() || m_keys[1].down();
}

qint64 Sidetone::key(bool down, qint64 seenAt, KeySource source)
{
    KeyTrack &track = m_keys[size_t(source)];
    if (down == track.down())
        return m_position;
    if (down && seenAt - track.upSeen >= m_keyRestSamples)
        track.delay = 0;
    const qint64 lastEdge = track.spans.empty() ? 0 : down ? track.spans.back().end : track.spans.back().start;
    const qint64 at = std::max({seenAt + track.delay, m_settled, lastEdge});
    track.delay = at - seenAt;
    if (down) {
        track.spans.push_back({at, keyHeld});
    } else {
        track.spans.back().end = at;
        track.upSeen = seenAt;
    }
    return at;
}

void Sidetone::noteState()
{
    if (m_snapshots.empty() || m_snapshots.back().position < m_position) {
        m_state.position = m_position;
        m_state.band = m_receiver.state();
        m_snapshots.push_back(m_state);
    }
}

bool Sidetone::within(const std::deque<Span> &spans, qint64 position)
{
    for (const Span &span : spans) {
        if (position < span.start)
            return false;
        if (position < span.end)
            return true;
    }
    return false;
}

// The edge moves one step towards the tone's state every sample; the
// sample itself is taken at the new step, so a tone's first sample is
// already above zero and its fall begins right after it. Returns the tone
// at full scale.
double Sidetone::edgedTone(bool tone, int &step, double &phase) const
{
    if (tone && step < m_edgeSamples)
        ++step;
    else if (!tone && step > 0)
        --step;
    if (step == 0) {
        // Each tone starts at phase 0, so its first cycle is whole.
        phase = 0;
        return 0;
    }
    const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * step / m_edgeSamples);
    const double value = gain * std::sin(2 * std::numbers::pi * phase);
    phase += m_frequency / m_sampleRate;
    phase -= std::floor(phase);
    return value;
}

void Sidetone::render(qint16 *out, qint64 count)
{
    const bool band = m_receiver.conditions().heard();
    for (qint64 i = 0; i < count; ++i) {
        if (m_position % snapshotEvery == 0)
            noteState();
        // Without a band to hear, what is played through it is a tone like any other.
        const bool clean = within(m_keys[0].spans, m_position) || within(m_keys[1].spans, m_position)
                           || within(m_tones, m_position) || (!band && within(m_bandTones, m_position));
        double value = edgedTone(clean, m_state.edgeStep, m_state.phase);
        if (band) {
            const double wanted = edgedTone(within(m_bandTones, m_position), m_state.bandEdgeStep, m_state.bandPhase);
            const bool heard = within(m_heard, m_position) && !clean && m_state.edgeStep == 0;
            value += m_receiver.receive(wanted, m_position, heard);
        }
        if (out)
            out[i] = qint16(std::clamp(std::lround(amplitude * m_volume * value), -32767L, 32767L));
        ++m_position;
    }
}

qint64 Sidetone::rewindTo(qint64 position)
{
    position = std::clamp(position, m_settled, m_position);
    while (!m_snapshots.empty() && m_snapshots.back().position > position)
        m_snapshots.pop_back();
    if (m_snapshots.empty())
        return m_position; // nothing noted down that far back
    // Render the few samples from the snapshot on again, unheard: they come
    // out as they did, since nothing before `position` has changed.
    m_state = m_snapshots.back(); // kept: it may be needed again
    m_receiver.setState(m_state.band);
    m_position = m_state.position;
    render(nullptr, position - m_position);
    return position;
}

void Sidetone::settle(qint64 position)
{
    m_settled = std::min(position, m_position);
    while (m_snapshots.size() > 1 && m_snapshots[1].position <= m_settled)
        m_snapshots.pop_front();
    // Rendering again starts at the oldest snapshot, which may lie in a tone
    // that ended before what is settled: that tone stays.
    const qint64 oldest = m_snapshots.empty() ? m_settled : m_snapshots.front().position;
    for (std::deque<Span> *spans : {&m_tones, &m_bandTones, &m_heard, &m_keys[0].spans, &m_keys[1].spans}) {
        while (!spans->empty() && spans->front().end <= oldest)
            spans->pop_front();
    }
    m_receiver.settle(oldest);
}
