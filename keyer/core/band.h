// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"

#include <QtGlobal>

#include <array>
#include <complex>
#include <deque>
#include <vector>

// What a receiver makes of the wanted signal on a band: the signal faded,
// other stations beside it, static crashes and the band's hiss, all through
// the receiver's CW filter, then brought to a steady loudness.
//
// Everything is drawn from the seed, sample by sample: the same seed and the
// same input give the same samples. All that carries from one sample to the
// next is in State, which the sidetone notes down with its own to render a
// stretch again; what the other stations send is made ahead from their own
// seeds and does not depend on what was rendered.
class Band
{
public:
    // The state of a small random generator (xoshiro256**).
    struct Random {
        std::array<quint64, 4> s{};
        quint64 next();
        double uniform(); // (0, 1)
        double gaussian(); // mean 0, variance 1
    };
    struct State {
        Random random;
        std::array<std::array<double, 2>, 4> filter{}; // each resonator's two delays
        std::array<std::complex<double>, 2> fading{}; // the fading's two low-pass stages
        bool fadingStarted = false;
        double fadingGain = 1;
        qint64 nextCrash = 0; // where the next crash begins
        double crash = 0; // the sounding crash's noise amplitude now
        double open = 0; // 0 the band unheard, 1 heard, between: on the way
    };

    Band(int sampleRate, double toneHz, quint64 seed);

    void setConditions(const BandConditions &conditions);
    const BandConditions &conditions() const { return m_conditions; }
    void setToneFrequency(double hertz);

    // The receiver's output at `position` for the wanted signal's sample
    // there, as loud as the clean tone's `amplitude`: heard while `open`,
    // faded in and out around it.
    double receive(double wanted, qint64 position, bool open);

    const State &state() const { return m_state; }
    void setState(const State &state) { m_state = state; }
    // Nothing before `position` is rendered again.
    void settle(qint64 position);

    // The factor by which the wanted tone leaves the receiver: its loudness
    // is brought down as the noise and the other stations grow, so that the
    // whole stays about as loud as the clean tone.
    double receiverGain() const { return m_receiverGain; }
    // The filter's gain at `hertz` (power), for the tests and the benchmark.
    double filterPowerGain(double hertz) const;

private:
    struct Biquad {
        double b0 = 1, b2 = 0, a1 = 0, a2 = 0; // b1 is 0 for a band-pass
    };
    struct Span {
        qint64 start;
        qint64 end;
    };
    // Another station: its tone's keying, made one transmission at a time.
    struct Station {
        OtherStation settings;
        Random random;
        std::deque<Span> spans;
        qint64 madeUntil = 0;
        double amplitude = 0;
    };

    double filtered(double x);
    double fade(qint64 position);
    double crashes(qint64 position);
    double others(qint64 position);
    void makeTraffic(Station &station, qint64 until);
    double stationTone(const Station &station, qint64 position) const;
    void design();

    int m_rate;
    double m_toneHz;
    quint64 m_seed;
    BandConditions m_conditions;
    State m_state;
    std::array<Biquad, 4> m_filter{};
    double m_filterEnergy = 1; // the filter's impulse response, squared and summed
    double m_noise = 0; // the hiss's amplitude before the filter
    double m_crashPeak = 0; // a crash's amplitude before the filter, at 0 dB
    double m_crashDecay = 0; // per sample
    double m_fadingPole = 0;
    double m_fadingDrive = 0;
    double m_fadingPower = 0; // the exponent on the Rayleigh envelope
    double m_fadingNorm = 1;
    double m_receiverGain = 1;
    double m_openStep = 0;
    std::vector<Station> m_stations;
};
