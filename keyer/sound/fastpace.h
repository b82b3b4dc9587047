// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/sidetone.h"
#include "sound/soundexchange.h"

// Plays in fast mode: no sound and no waiting. The window's thread renders
// straight on through what is scheduled, as fast as it can, playing both
// sides of the exchange itself.
class FastPace
{
public:
    FastPace(SoundExchange &exchange, int sampleRate, double toneHz)
        : m_exchange(exchange)
        , m_sidetone(sampleRate, toneHz)
    {
        m_sidetone.setBandSeed(exchange.bandSeed);
    }

    // Renders the next `count` samples with what the window has changed.
    void render(qint16 *out, qint64 count)
    {
        takeChanges(m_exchange, m_sidetone, m_sidetone.position(), -1);
        m_sidetone.render(out, count);
        m_exchange.position = m_sidetone.position();
    }

private:
    SoundExchange &m_exchange;
    Sidetone m_sidetone;
};
