// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/iambic.h"

namespace {

IambicKeyer::Paddle other(IambicKeyer::Paddle p)
{
    return p == IambicKeyer::Dot ? IambicKeyer::Dash : IambicKeyer::Dot;
}

} // namespace

void IambicKeyer::begin(Paddle element, double t, QList<ToneEdge> &edges)
{
    m_sounding = true;
    m_toneOn = true;
    m_element = element;
    m_start = t;
    m_memory[element] = false;
    if (m_mode == Mode::B && m_held[other(element)])
        m_memory[other(element)] = true;
    edges.append({true, t});
}

QList<ToneEdge> IambicKeyer::advanceTo(double t)
{
    QList<ToneEdge> edges;
    while (m_sounding) {
        if (m_toneOn) {
            if (t < markEnd())
                break;
            m_toneOn = false;
            edges.append({false, markEnd()});
        }
        const double gapEnd = markEnd() + m_dot;
        if (t < gapEnd)
            break;
        m_sounding = false;
        const Paddle opposite = other(m_element);
        if (m_memory[opposite] || m_held[opposite])
            begin(opposite, gapEnd, edges);
        else if (m_memory[m_element] || m_held[m_element])
            begin(m_element, gapEnd, edges);
    }
    return edges;
}

QList<ToneEdge> IambicKeyer::paddle(Paddle which, bool down, double t)
{
    QList<ToneEdge> edges = advanceTo(t);
    m_held[which] = down;
    if (!down)
        return edges;
    if (m_sounding)
        m_memory[which] = true;
    else
        begin(which, t, edges);
    return edges;
}

std::optional<double> IambicKeyer::nextDue() const
{
    if (!m_sounding)
        return std::nullopt;
    return m_toneOn ? markEnd() : markEnd() + m_dot;
}

void IambicKeyer::reset()
{
    m_held[Dot] = m_held[Dash] = false;
    m_memory[Dot] = m_memory[Dash] = false;
    m_sounding = m_toneOn = false;
}
