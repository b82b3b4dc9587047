// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/band.h"

#include "core/morseplan.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double twoPi = 2 * std::numbers::pi;

// A Butterworth band-pass of four poles a side, as CW filters are: flat
// across its width, a station 750 Hz off a 250 Hz filter more than 50 dB
// down. Eight poles, four sections.
constexpr int sections = 4;

// The envelope of unit-power complex Gaussian noise is Rayleigh: its power
// is exponential, and the 90th percentile lies 10 log10(ln 10 / -ln 0.9)
// = 13.4 dB above the 10th. Raised to the power k, the span is k times that.
constexpr double rayleighSpanDb = 13.3954;
// The envelope falls through its median sqrt(ln 2) times
// 2 sqrt(pi) rho exp(-rho^2) = 1.4757 times a second per hertz of the
// fading's RMS bandwidth (Rice), and two equal one-pole low-passes with a
// corner at f have an RMS bandwidth of f.
constexpr double fadesPerHertz = 1.4757;
// The fading is drawn this often, in samples: at most a few hertz wide, it
// changes nothing within them.
constexpr int fadingEvery = 32;

// A crash rises at once and dies away in this time constant.
constexpr double crashDecayMs = 30;
// Each crash is this many dB either side of its set level.
constexpr double crashSpreadDb = 10;
// The band fades in and out this fast around what is played.
constexpr double openMs = 20;
// Another station's tone edges, and its silence between transmissions.
constexpr double stationEdgeMs = 5;
constexpr double stationPauseMinMs = 1500;
constexpr double stationPauseMaxMs = 6000;
// Before the receiver's level: room for the fades' peaks and the noise's.
constexpr double headroom = 0.5;

quint64 splitMix(quint64 &x)
{
    quint64 z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

Band::Random seeded(quint64 seed)
{
    Band::Random random;
    for (quint64 &word : random.s)
        word = splitMix(seed);
    return random;
}

quint64 rotate(quint64 x, int k)
{
    return (x << k) | (x >> (64 - k));
}

QString callSign(Band::Random &random)
{
    static const QStringList prefixes{"DL", "G", "F",  "OK", "SP", "HA", "I",  "EA",  "ON", "PA",
                                      "W",  "K", "JA", "UA", "YU", "S5", "OE", "HB9", "LZ", "YO"};
    QString call = prefixes[int(random.uniform() * prefixes.size()) % prefixes.size()];
    call += QChar(u'0' + int(random.uniform() * 10) % 10);
    const int letters = 1 + int(random.uniform() * 3) % 3;
    for (int i = 0; i < letters; ++i)
        call += QChar(u'A' + int(random.uniform() * 26) % 26);
    return call;
}

QString trafficText(Traffic traffic, Band::Random &random)
{
    switch (traffic) {
    case Traffic::Groups: {
        QStringList groups;
        for (int g = 0; g < 5; ++g) {
            QString group;
            for (int i = 0; i < 5; ++i)
                group += QChar(u'A' + int(random.uniform() * 26) % 26);
            groups << group;
        }
        return groups.join(QLatin1Char(' '));
    }
    case Traffic::Calls: {
        static const QStringList reports{"599", "5NN", "579", "559"};
        const QString report = reports[int(random.uniform() * reports.size()) % reports.size()];
        return QStringLiteral("%1 DE %2 %3 %3 K").arg(callSign(random), callSign(random), report);
    }
    case Traffic::Cq:
        break;
    }
    const QString call = callSign(random);
    return QStringLiteral("CQ CQ DE %1 %1 K").arg(call);
}

} // namespace

quint64 Band::Random::next()
{
    const quint64 result = rotate(s[1] * 5, 7) * 9;
    const quint64 t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = rotate(s[3], 45);
    return result;
}

double Band::Random::uniform()
{
    return (double(next() >> 11) + 0.5) * 0x1.0p-53;
}

double Band::Random::gaussian()
{
    const double radius = std::sqrt(-2 * std::log(uniform()));
    return radius * std::cos(twoPi * uniform());
}

Band::Band(int sampleRate, double toneHz, quint64 seed)
    : m_rate(sampleRate)
    , m_toneHz(toneHz)
    , m_seed(seed)
    , m_openStep(1000.0 / (openMs * sampleRate))
{
    m_state.random = seeded(seed);
    design();
}

void Band::setConditions(const BandConditions &conditions)
{
    const bool newStations
        = !std::equal(conditions.others.begin(), conditions.others.begin() + conditions.otherCount,
                      m_conditions.others.begin(), m_conditions.others.begin() + m_conditions.otherCount)
          || conditions.otherCount != m_conditions.otherCount;
    const bool fadingStarts = conditions.fadingDb > 0 && m_conditions.fadingDb == 0;
    if (conditions.crashesPerMinute != m_conditions.crashesPerMinute)
        m_state.nextCrash = 0;
    m_conditions = conditions;
    if (newStations) {
        m_stations.clear();
        for (int i = 0; i < conditions.otherCount; ++i) {
            Station station;
            station.settings = conditions.others[size_t(i)];
            station.random = seeded(m_seed + 0x51ed2701ULL * quint64(i + 1));
            station.madeUntil = -1;
            m_stations.push_back(station);
        }
    }
    design();
    if (fadingStarts)
        m_state.fadingStarted = false;
}

void Band::setToneFrequency(double hertz)
{
    if (hertz == m_toneHz)
        return;
    m_toneHz = hertz;
    design();
}

void Band::design()
{
    // Nothing to design for a band that is not heard (the clean tone, most
    // often): it is done when one is set.
    if (!m_conditions.heard())
        return;
    // The CW filter, its edges the width apart and as far above and below
    // the tone as their product wants, warped for the bilinear transform:
    // each pole p of the low-pass prototype gives two, the roots of
    // s^2 - p B s + w0^2, each section B s over a pair of them.
    const double lowHz = std::sqrt(m_conditions.filterHz * m_conditions.filterHz / 4 + m_toneHz * m_toneHz)
                         - m_conditions.filterHz / 2;
    const double k = 2.0 * m_rate;
    const auto warped = [&](double hertz) {
        return k * std::tan(std::numbers::pi * std::min(hertz, 0.45 * m_rate) / m_rate);
    };
    const double low = warped(lowHz);
    const double high = warped(lowHz + m_conditions.filterHz);
    const double width = high - low;
    const double centre2 = low * high;
    for (int i = 0; i < sections / 2; ++i) {
        const std::complex<double> p = std::polar(1.0, std::numbers::pi * (2 * i + sections + 1) / (2 * sections));
        const std::complex<double> root = std::sqrt(p * p * width * width - 4 * centre2);
        const std::array<std::complex<double>, 2> poles{(p * width + root) / 2.0, (p * width - root) / 2.0};
        for (size_t j = 0; j < poles.size(); ++j) {
            // B s / (s^2 - 2 Re(pole) s + |pole|^2) through s = k (1 - z^-1) / (1 + z^-1).
            const double a1 = -2 * poles[j].real();
            const double a0 = std::norm(poles[j]);
            const double d0 = k * k + a1 * k + a0;
            m_filter[size_t(2 * i) + j]
                = {width * k / d0, -width * k / d0, (2 * a0 - 2 * k * k) / d0, (k * k - a1 * k + a0) / d0};
        }
    }
    // 0 dB at the tone.
    const double atTone = std::sqrt(filterPowerGain(m_toneHz));
    m_filter[0].b0 /= atTone;
    m_filter[0].b2 /= atTone;
    // Its noise bandwidth: the energy of its impulse response.
    std::array<std::array<double, 2>, sections> delays{};
    m_filterEnergy = 0;
    for (int n = 0; n < m_rate; ++n) {
        double x = n == 0 ? 1 : 0;
        for (int i = 0; i < sections; ++i) {
            const Biquad &f = m_filter[size_t(i)];
            auto &d = delays[size_t(i)];
            const double y = f.b0 * x + d[0];
            d[0] = d[1] - f.a1 * y;
            d[1] = f.b2 * x - f.a2 * y;
            x = y;
        }
        m_filterEnergy += x * x;
    }

    // The wanted tone comes at amplitude 1: its key-down power is 1/2.
    const double signalPower = 0.5;
    double noisePower = 0;
    m_noise = 0;
    if (m_conditions.snrDb) {
        noisePower = signalPower / std::pow(10, *m_conditions.snrDb / 10);
        m_noise = std::sqrt(noisePower / m_filterEnergy);
    }
    double othersPower = 0;
    for (Station &station : m_stations) {
        station.amplitude = std::pow(10, station.settings.levelDb / 20);
        // Keyed about half the time.
        othersPower += 0.5 * signalPower * station.amplitude * station.amplitude
                       * filterPowerGain(m_toneHz + station.settings.offsetHz);
    }
    m_receiverGain = headroom * std::sqrt(signalPower / (signalPower + noisePower + othersPower));
    m_crashPeak = std::sqrt(signalPower / m_filterEnergy);
    m_crashDecay = std::exp(-1000.0 / (crashDecayMs * m_rate));

    const double rmsBandwidth = m_conditions.fadesPerMinute / 60 / fadesPerHertz;
    m_fadingPole = std::exp(-twoPi * rmsBandwidth * fadingEvery / m_rate);
    const double a = 1 - m_fadingPole;
    const double p2 = m_fadingPole * m_fadingPole;
    // Unit power out of the two stages: 2 v a^4 (1 + p^2) / (1 - p^2)^3 = 1.
    m_fadingDrive = std::sqrt(std::pow(1 - p2, 3) / (2 * std::pow(a, 4) * (1 + p2)));
    m_fadingPower = m_conditions.fadingDb / rayleighSpanDb;
    m_fadingNorm = 1 / std::sqrt(std::tgamma(1 + m_fadingPower));
}

double Band::filterPowerGain(double hertz) const
{
    const std::complex<double> z = std::polar(1.0, -twoPi * hertz / m_rate); // z^-1
    double gain = 1;
    for (const Biquad &f : m_filter)
        gain *= std::norm((f.b0 + f.b2 * z * z) / (1.0 + f.a1 * z + f.a2 * z * z));
    return gain;
}

double Band::filtered(double x)
{
    for (int i = 0; i < sections; ++i) {
        const Biquad &f = m_filter[size_t(i)];
        auto &d = m_state.filter[size_t(i)];
        const double y = f.b0 * x + d[0];
        d[0] = d[1] - f.a1 * y;
        d[1] = f.b2 * x - f.a2 * y;
        x = y;
    }
    return x;
}

double Band::fade(qint64 position)
{
    if (m_conditions.fadingDb <= 0)
        return 1;
    Random &random = m_state.random;
    const double a = 1 - m_fadingPole;
    if (!m_state.fadingStarted) {
        // Start where the fading would be after a long while: its second
        // stage at unit power, the first in step with it.
        const double half = std::sqrt(0.5);
        const std::complex<double> start(half * random.gaussian(), half * random.gaussian());
        const double firstStage = m_fadingDrive * a / std::sqrt(1 - m_fadingPole * m_fadingPole);
        m_state.fading = {start * firstStage / half, start};
        m_state.fadingStarted = true;
        m_state.fadingGain = std::pow(std::abs(start), m_fadingPower) * m_fadingNorm;
    }
    if (position % fadingEvery == 0) {
        const std::complex<double> drive(m_fadingDrive * random.gaussian(), m_fadingDrive * random.gaussian());
        m_state.fading[0] += a * (drive - m_state.fading[0]);
        m_state.fading[1] += a * (m_state.fading[0] - m_state.fading[1]);
        m_state.fadingGain = std::pow(std::abs(m_state.fading[1]), m_fadingPower) * m_fadingNorm;
    }
    return m_state.fadingGain;
}

double Band::crashes(qint64 position)
{
    if (m_conditions.crashesPerMinute <= 0)
        return 0;
    Random &random = m_state.random;
    const double meanGap = 60.0 * m_rate / m_conditions.crashesPerMinute;
    if (m_state.nextCrash <= 0)
        m_state.nextCrash = position + qint64(-std::log(random.uniform()) * meanGap);
    if (position >= m_state.nextCrash) {
        const double levelDb = m_conditions.crashDb + crashSpreadDb * (2 * random.uniform() - 1);
        m_state.crash = m_crashPeak * std::pow(10, levelDb / 20);
        m_state.nextCrash = position + 1 + qint64(-std::log(random.uniform()) * meanGap);
    }
    if (m_state.crash < 1e-6 * m_crashPeak)
        return 0;
    const double value = m_state.crash * random.gaussian();
    m_state.crash *= m_crashDecay;
    return value;
}

void Band::makeTraffic(Station &station, qint64 until)
{
    const auto ms = [this](double milliseconds) {
        return qint64(milliseconds * m_rate / 1000);
    };
    if (station.madeUntil < 0)
        station.madeUntil = until + ms(stationPauseMaxMs * station.random.uniform());
    while (station.madeUntil <= until) {
        const QString text = trafficText(station.settings.traffic, station.random);
        const double dot = dotMilliseconds(station.settings.speed) * m_rate / 1000;
        qint64 at = station.madeUntil;
        for (const ToneSegment &segment : groupSegments(text, dot)) {
            if (segment.tone)
                station.spans.push_back({at, at + segment.samples});
            at += segment.samples;
        }
        const double pause = stationPauseMinMs + (stationPauseMaxMs - stationPauseMinMs) * station.random.uniform();
        station.madeUntil = at + ms(pause);
    }
}

double Band::stationTone(const Station &station, qint64 position) const
{
    const auto after = std::upper_bound(station.spans.begin(), station.spans.end(), position,
                                        [](qint64 at, const Span &span) { return at < span.start; });
    if (after == station.spans.begin())
        return 0;
    const Span &span = *std::prev(after);
    if (position >= span.end)
        return 0;
    const double edge = stationEdgeMs * m_rate / 1000;
    const double inside = double(std::min(position - span.start, span.end - position));
    const double gain = inside >= edge ? 1 : 0.5 - 0.5 * std::cos(std::numbers::pi * inside / edge);
    const double cycles = (m_toneHz + station.settings.offsetHz) * double(position) / m_rate;
    return station.amplitude * gain * std::sin(twoPi * (cycles - std::floor(cycles)));
}

double Band::others(qint64 position)
{
    double sum = 0;
    for (Station &station : m_stations) {
        if (station.madeUntil <= position)
            makeTraffic(station, position);
        sum += stationTone(station, position);
    }
    return sum;
}

double Band::receive(double wanted, qint64 position, bool open)
{
    double &heard = m_state.open;
    heard = open ? std::min(1.0, heard + m_openStep) : std::max(0.0, heard - m_openStep);
    const double faded = wanted * fade(position);
    const double crash = crashes(position);
    if (heard == 0)
        return 0;
    const double hiss = m_noise > 0 ? m_noise * m_state.random.gaussian() : 0;
    return heard * m_receiverGain * filtered(faded + others(position) + crash + hiss);
}

void Band::settle(qint64 position)
{
    const qint64 edge = qint64(stationEdgeMs * m_rate / 1000);
    for (Station &station : m_stations) {
        while (!station.spans.empty() && station.spans.front().end + edge < position)
            station.spans.pop_front();
    }
}
