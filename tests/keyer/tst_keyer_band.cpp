// SPDX-License-Identifier: GPL-3.0-or-later
// The band the software keyer plays its groups through, measured on its
// samples: the noise's SNR inside the filter, the fading's depth and rate,
// the crashes, another station at its offset; the presets as the command
// line reads them; and the sidetone, which keeps the trainee's own key clean.

#include "common/bandconditions.h"
#include "core/band.h"
#include "core/handsending.h"
#include "core/sidetone.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int rate = 48000;
constexpr double tone = 600;

double wanted(qint64 n, int sampleRate = rate)
{
    return std::sin(2 * std::numbers::pi * tone * double(n) / sampleRate);
}

// The mean power of what the band gives over `seconds`, after its first
// tenth of a second, with the wanted tone keyed down or not.
double power(const BandConditions &conditions, bool keyDown, double seconds, quint64 seed = 7)
{
    Band band(rate, tone, seed);
    band.setConditions(conditions);
    double sum = 0;
    const qint64 from = rate / 10;
    const qint64 to = from + qint64(seconds * rate);
    for (qint64 n = 0; n < to; ++n) {
        const double y = band.receive(keyDown ? wanted(n) : 0, n, true);
        if (n >= from)
            sum += y * y;
    }
    return sum / double(to - from);
}

// The power of `samples` at `hertz` (Goertzel), against their whole power.
double share(const std::vector<double> &samples, double hertz)
{
    const double w = 2 * std::numbers::pi * hertz / rate;
    double s1 = 0, s2 = 0, total = 0;
    for (double x : samples) {
        const double s0 = x + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s0;
        total += x * x;
    }
    const double atHertz = s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
    return 2 * atHertz / double(samples.size()) / total;
}

std::vector<double> station(const OtherStation &other, double filterHz)
{
    BandConditions conditions;
    conditions.filterHz = filterHz;
    conditions.others[0] = other;
    conditions.otherCount = 1;
    Band band(rate, tone, 3);
    band.setConditions(conditions);
    std::vector<double> samples;
    for (qint64 n = 0; n < 20 * rate; ++n)
        samples.push_back(band.receive(0, n, true));
    return samples;
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[size_t(fraction * double(values.size() - 1))];
}

} // namespace

class BandTest : public QObject
{
    Q_OBJECT

private slots:
    void presetsReadBackFromTheirText();
    void noiseStandsAtItsSnrInsideTheFilter_data();
    void noiseStandsAtItsSnrInsideTheFilter();
    void fadingHasItsDepthAndRate();
    void crashesComeAsOftenAndAsStrongAsSet();
    void anotherStationSoundsAtItsOffsetThroughTheFilter();
    void theTraineesKeyStaysCleanAndASecondRenderingIsTheSame();
    void aHandSendsWithItsWeightAndJitter();
};

void BandTest::presetsReadBackFromTheirText()
{
    for (const QString &name : bandPresetNames()) {
        const auto preset = bandPreset(name);
        QVERIFY2(preset, qPrintable(name));
        QCOMPARE(BandConditions::fromText(preset->toText()), preset);
        QCOMPARE(bandPresetName(*preset), name);
    }
    QCOMPARE(bandPreset(u"weak")->toText(), QStringLiteral("filter=500 snr=3 fading=10/6"));
    const auto custom = BandConditions::fromText(u"filter=250 snr=-5 fading=12/gyors qrm=-300/-6/80/calls jitter=8");
    QVERIFY(custom);
    QCOMPARE(custom->fadesPerMinute, fastFadesPerMinute);
    QCOMPARE(custom->others[0], (OtherStation{-300, -6, 80, Traffic::Calls}));
    QVERIFY(bandPresetName(*custom).isEmpty());
    QString why;
    QVERIFY(!BandConditions::fromText(u"snr=55", &why));
    QCOMPARE(why, QStringLiteral("not a band setting: snr=55"));
    QVERIFY(!BandConditions::fromText(u"qrm=300/0/60/chatter"));
}

void BandTest::noiseStandsAtItsSnrInsideTheFilter_data()
{
    QTest::addColumn<double>("snr");
    QTest::addColumn<double>("filter");
    for (double filter : {250.0, 500.0, 2400.0}) {
        for (double snr : {-5.0, 0.0, 10.0, 20.0})
            QTest::addRow("%g dB in %g Hz", snr, filter) << snr << filter;
    }
}

void BandTest::noiseStandsAtItsSnrInsideTheFilter()
{
    QFETCH(double, snr);
    QFETCH(double, filter);
    BandConditions conditions;
    conditions.filterHz = filter;
    conditions.snrDb = snr;
    // The same seed gives the same noise: what the tone adds is its power.
    const double noise = power(conditions, false, 4);
    const double both = power(conditions, true, 4);
    const double measured = 10 * std::log10((both - noise) / noise);
    QVERIFY2(std::abs(measured - snr) < 0.5, qPrintable(QString::number(measured)));
}

void BandTest::fadingHasItsDepthAndRate()
{
    // At a low rate, for long enough to hold hundreds of fades.
    const int slowRate = 4000;
    BandConditions conditions;
    conditions.fadingDb = 12;
    conditions.fadesPerMinute = 30;
    Band band(slowRate, tone, 11);
    band.setConditions(conditions);
    std::vector<double> envelope; // the power of each tenth of a second
    double sum = 0;
    for (qint64 n = 0; n < 1200 * slowRate; ++n) {
        const double y = band.receive(wanted(n, slowRate), n, true) / band.receiverGain();
        sum += y * y;
        if ((n + 1) % (slowRate / 10) == 0) {
            envelope.push_back(sum / (slowRate / 10) * 2);
            sum = 0;
        }
    }
    const double depth = 10 * std::log10(percentile(envelope, 0.9) / percentile(envelope, 0.1));
    QVERIFY2(std::abs(depth - 12) < 1.5, qPrintable(QString::number(depth)));
    const double median = percentile(envelope, 0.5);
    int fades = 0;
    for (size_t i = 1; i < envelope.size(); ++i)
        fades += envelope[i - 1] >= median && envelope[i] < median;
    const double perMinute = fades / 20.0;
    QVERIFY2(std::abs(perMinute - 30) < 6, qPrintable(QString::number(perMinute)));
    // The fading takes nothing from the signal's mean power.
    double mean = 0;
    for (double p : envelope)
        mean += p / double(envelope.size());
    QVERIFY2(std::abs(mean - 1) < 0.15, qPrintable(QString::number(mean)));
}

void BandTest::crashesComeAsOftenAndAsStrongAsSet()
{
    BandConditions conditions;
    conditions.crashesPerMinute = 30;
    conditions.crashDb = 10;
    Band band(rate, tone, 5);
    band.setConditions(conditions);
    // The power of every 5 ms against the tone's key-down power: a crash
    // rises out of silence at once.
    const double tonePower = 0.5 * band.receiverGain() * band.receiverGain();
    const qint64 block = rate / 200;
    std::vector<double> levels;
    double sum = 0;
    for (qint64 n = 0; n < 240 * rate; ++n) {
        const double y = band.receive(0, n, true);
        sum += y * y;
        if ((n + 1) % block == 0)
            levels.push_back(10 * std::log10(std::exchange(sum, 0) / double(block) / tonePower + 1e-12));
    }
    std::vector<double> peaks;
    for (size_t i = 1; i + 2 < levels.size(); ++i) {
        if (levels[i - 1] < -25 && levels[i] > -12)
            peaks.push_back(*std::max_element(levels.begin() + long(i), levels.begin() + long(i) + 3));
    }
    QVERIFY2(peaks.size() > 90 && peaks.size() < 150, qPrintable(QString::number(peaks.size())));
    QVERIFY(percentile(peaks, 0.05) > -6 && percentile(peaks, 0.95) < 25);
}

void BandTest::anotherStationSoundsAtItsOffsetThroughTheFilter()
{
    const std::vector<double> above = station({300, 0, 80, Traffic::Cq}, 2400);
    QVERIFY2(share(above, 900) > 0.2, qPrintable(QString::number(share(above, 900))));
    QVERIFY(share(above, 600) < 0.001);
    // 750 Hz off a 250 Hz filter: more than 30 dB below the same station
    // on the wanted tone's frequency.
    double off = 0, on = 0;
    for (double x : station({750, 0, 80, Traffic::Cq}, 250))
        off += x * x;
    for (double x : station({0, 0, 80, Traffic::Cq}, 250))
        on += x * x;
    QVERIFY2(10 * std::log10(on / off) > 30, qPrintable(QString::number(10 * std::log10(on / off))));
}

void BandTest::theTraineesKeyStaysCleanAndASecondRenderingIsTheSame()
{
    const auto render = [](const BandConditions &conditions, bool rewind) {
        Sidetone sidetone(rate);
        sidetone.setBandSeed(9);
        sidetone.setBand(conditions);
        sidetone.append(0, {true, rate / 2, true});
        sidetone.key(true, rate, Sidetone::KeySource::Window);
        sidetone.key(false, 2 * rate, Sidetone::KeySource::Window);
        std::vector<qint16> samples(size_t(3 * rate));
        sidetone.render(samples.data(), qint64(samples.size()));
        if (rewind) {
            sidetone.rewindTo(rate / 4);
            sidetone.render(samples.data() + rate / 4, qint64(samples.size()) - rate / 4);
        }
        return samples;
    };
    const BandConditions noisy = *bandPreset(u"noisy");
    const std::vector<qint16> band = render(noisy, false);
    const std::vector<qint16> clean = render({}, false);
    QCOMPARE(render(noisy, true), band);
    // The group through the band is not the clean tone; the key, a second
    // later, is, as is the silence once the band's tail has passed.
    QVERIFY(!std::equal(band.begin(), band.begin() + rate / 2, clean.begin()));
    QVERIFY(std::equal(band.begin() + rate, band.end(), clean.begin() + rate));
}

void BandTest::aHandSendsWithItsWeightAndJitter()
{
    const std::vector<ToneSegment> even = groupSegments(u"EEEEEEEEEE", 1000);
    QRandomGenerator random(1);
    const std::vector<ToneSegment> heavy = sentByHand(even, 1000, 0, 60, random);
    QCOMPARE(heavy[0], (ToneSegment{true, 1200}));
    QCOMPARE(heavy[1], (ToneSegment{false, 2800}));
    double spread = 0;
    for (int i = 0; i < 200; ++i) {
        for (const ToneSegment &segment : sentByHand(even, 1000, 10, 50, random)) {
            if (segment.tone)
                spread += std::pow(double(segment.samples) - 1000, 2);
        }
    }
    spread = std::sqrt(spread / 2000);
    QVERIFY2(std::abs(spread - 100) < 10, qPrintable(QString::number(spread)));
}

QTEST_GUILESS_MAIN(BandTest)
#include "tst_keyer_band.moc"
