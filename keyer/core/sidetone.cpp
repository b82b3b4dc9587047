#include "core/sidetone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

Sidetone::Sidetone(int sampleRate, double frequency, double edgeMilliseconds)
    : m_sampleRate(sampleRate)
    , m_frequency(frequency)
    , m_edgeSamples(std::max(1, int(std::lround(edgeMilliseconds * sampleRate / 1000.0))))
{
}

void Sidetone::setVolume(double volume)
{
    m_volume = std::clamp(volume, 0.0, 1.0);
}

void Sidetone::append(qint64 start, ToneSegment segment)
{
    const qint64 end = scheduleEnd();
    if (start > end) {
        m_schedule.push_back({false, start - end});
        m_scheduled += start - end;
    }
    segment.samples -= qMax<qint64>(0, end - start);
    if (segment.samples <= 0)
        return;
    m_schedule.push_back(segment);
    m_scheduled += segment.samples;
}

void Sidetone::clearSchedule()
{
    m_schedule.clear();
    m_scheduled = 0;
}

void Sidetone::render(qint16 *out, qint64 count)
{
    for (qint64 i = 0; i < count; ++i) {
        bool tone = m_liveKey;
        if (!m_schedule.empty()) {
            ToneSegment &segment = m_schedule.front();
            tone = tone || segment.tone;
            --m_scheduled;
            if (--segment.samples == 0)
                m_schedule.pop_front();
        }

        // The edge moves one step towards the tone's state every sample;
        // the sample itself is taken at the new step, so a tone's first
        // sample is already above zero and its fall begins right after it.
        if (tone && m_edgeStep < m_edgeSamples)
            ++m_edgeStep;
        else if (!tone && m_edgeStep > 0)
            --m_edgeStep;

        double value = 0;
        if (m_edgeStep > 0) {
            const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * m_edgeStep / m_edgeSamples);
            value = amplitude * m_volume * gain * std::sin(2 * std::numbers::pi * m_phase);
            m_phase += m_frequency / m_sampleRate;
            m_phase -= std::floor(m_phase);
        } else {
            // Each tone starts at phase 0, so its first cycle is whole.
            m_phase = 0;
        }
        out[i] = qint16(std::lround(value));
        ++m_position;
    }
}
