// SPDX-License-Identifier: GPL-3.0-or-later
// What the band's conditions sound like, measured where a trainee hears
// them: the keyer program plays a copy run of random five-letter groups
// (--fast, --wav), and this program reads the recording with its own
// analysis, knowing only what was sent:
//
//   - the SNR: the power while the wanted tone is keyed down less the
//     power between its elements, against the latter, each taken 15 ms
//     clear of the edges;
//   - the fading: the power of each 10 ms inside the elements (played at
//     150 letters a minute, so that they sample it densely), its depth
//     (10th to 90th percentile) and how often it falls through its median;
//   - the crashes: the onsets between the elements (a 5 ms block above
//     -20 dB after one below -30 dB), a minute, and their peaks against the
//     tone's median element power; the recording's full scale stands 12 dB
//     above the tone's key-down level, so stronger crashes clip there, as
//     in a receiver without a noise blanker;
//   - another station: where its tone stands (the strongest of 5 Hz steps
//     between the elements) and its level while keyed against the
//     wanted tone's;
//   - a hand's fist: the dots' length (the weight) and their spread (the
//     jitter), from where the envelope crosses half its height;
//   - the character error rate of an independent decoder, multimon-ng's
//     MORSE_CW (Debian's multimon-ng, which reads the WAV through sox), as
//     the SNR falls; and the cost of rendering each preset.
//
//   build/bench/bench-band [GROUPS per row, default 20]
//
// BENCH_KEEP=DIR keeps each preset's recording there (DIR/<preset>.wav),
// for a spectrogram: sox DIR/noisy.wav -n spectrogram -o noisy.png

#include "core/band.h"
#include "common/bandconditions.h"
#include "common/frames.h"
#include "core/morseplan.h"
#include "core/sidetone.h"
#include "core/wavwriter.h"
#include "rawline.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <numbers>
#include <optional>
#include <tuple>
#include <vector>

namespace {

// Copy groups at 60 letters a minute with the trainer's default pause; the
// fading is read at 150 with a short pause, so that the elements sample
// its envelope at least five times a second.
struct Pace {
    int speed = 60;
    int pause = 50; // hundredths of a second
};
constexpr Pace copyPace;
constexpr Pace densePace{150, 10};
constexpr double toneHz = 600;
constexpr double edgeClearMs = 15;

QString keyerProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../vestranoli-keyer");
}

// A copy run as the keyer played it: the recording, the groups, and where
// each tone was planned.
struct Played {
    int rate = 0;
    Pace pace;
    std::vector<double> samples;
    QStringList groups;
    std::vector<std::pair<qint64, qint64>> tones; // [start, end) in samples
    std::vector<std::pair<qint64, qint64>> gaps; // between tones, within the run
};

QString randomGroup(QRandomGenerator &random)
{
    QString group;
    for (int i = 0; i < 5; ++i)
        group += QChar(u'A' + random.bounded(26));
    return group;
}

std::optional<Played> play(const QStringList &band, int groups, const QString &wav, Pace pace)
{
    QProcess keyer;
    keyer.start(keyerProgram(), QStringList{"--fast", "--headless", "--wav", wav, "--band-seed", "17", "--speed",
                                            QString::number(pace.speed)}
                                    + band);
    RawLine line;
    if (!keyer.waitForReadyRead(10000) || !line.open(QString::fromLocal8Bit(keyer.readLine()).trimmed())) {
        std::fprintf(stderr, "bench-band: the keyer did not start: %s\n", keyer.readAllStandardError().constData());
        return std::nullopt;
    }
    line.send(handshakeReply());
    line.send(speedFrame(QString::number(pace.speed)));
    line.send(pauseFrame(quint8(pace.pause)));
    line.send(copyStartFrame());
    Played played;
    played.pace = pace;
    QRandomGenerator random(5);
    for (int g = 0; g < groups; ++g) {
        played.groups << randomGroup(random);
        line.send(groupFrame(played.groups.back()));
        if (!line.waitFor("OK\r\n", 60000)) {
            std::fputs("bench-band: the keyer stopped answering\n", stderr);
            return std::nullopt;
        }
    }
    keyer.terminate();
    keyer.waitForFinished(5000);

    QFile file(wav);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 44)
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    played.rate = qFromLittleEndian<qint32>(bytes.constData() + 24);
    for (qsizetype i = 44; i + 1 < bytes.size(); i += 2)
        played.samples.push_back(qFromLittleEndian<qint16>(bytes.constData() + i));

    // Played one after another with nothing between them: each group, then
    // its pause, from where the first tone rises above the silence.
    qint64 at = 0;
    while (at < qint64(played.samples.size()) && std::abs(played.samples[size_t(at)]) < 300)
        ++at;
    at = std::max<qint64>(0, at - qint64(played.rate) / 1000);
    const double dot = dotMilliseconds(pace.speed) * played.rate / 1000;
    for (const QString &group : played.groups) {
        for (const ToneSegment &segment : groupSegments(group, dot)) {
            if (segment.tone)
                played.tones.push_back({at, at + segment.samples});
            at += segment.samples;
        }
        at += qint64(pace.pause) * played.rate / 100;
    }
    for (size_t i = 1; i < played.tones.size(); ++i)
        played.gaps.push_back({played.tones[i - 1].second, played.tones[i].first});
    return played;
}

// The mean power over the stretches, each taken clear of its edges.
double meanPower(const Played &played, const std::vector<std::pair<qint64, qint64>> &stretches)
{
    const qint64 clear = qint64(edgeClearMs * played.rate / 1000);
    double sum = 0;
    qint64 count = 0;
    for (const auto &[start, end] : stretches) {
        for (qint64 n = start + clear; n < end - clear && n < qint64(played.samples.size()); ++n) {
            sum += played.samples[size_t(n)] * played.samples[size_t(n)];
            ++count;
        }
    }
    return count > 0 ? sum / double(count) : 0;
}

double snrDb(const Played &played)
{
    const double noise = meanPower(played, played.gaps);
    return 10 * std::log10((meanPower(played, played.tones) - noise) / noise);
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(fraction * double(values.size() - 1))];
}

struct Fading {
    double depthDb;
    double perMinute;
};

// The envelope's power in 10 ms blocks inside the elements, 10 ms clear of
// their edges, in the order played: the gaps between are short against a
// fade.
Fading fading(const Played &played)
{
    const qint64 block = played.rate / 100;
    std::vector<double> powers;
    for (const auto &[start, end] : played.tones) {
        for (qint64 n = start + block; n + 2 * block <= end; n += block) {
            double sum = 0;
            for (qint64 i = n; i < n + block; ++i)
                sum += played.samples[size_t(i)] * played.samples[size_t(i)];
            powers.push_back(sum);
        }
    }
    const double median = percentile(powers, 0.5);
    int fades = 0;
    for (size_t i = 1; i < powers.size(); ++i)
        fades += powers[i - 1] >= median && powers[i] < median;
    const double minutes = double(played.tones.back().second - played.tones.front().first) / played.rate / 60;
    return {10 * std::log10(percentile(powers, 0.9) / percentile(powers, 0.1)), fades / minutes};
}

// The wanted tone's median element power.
double medianTonePower(const Played &played)
{
    std::vector<double> powers;
    for (const auto &tone : played.tones)
        powers.push_back(meanPower(played, {tone}));
    return percentile(powers, 0.5);
}

// The power of each 5 ms, in dB against `reference`.
std::vector<double> levels(const Played &played, qint64 from, qint64 to, double reference)
{
    const qint64 block = played.rate / 200;
    std::vector<double> result;
    for (qint64 n = from; n + block <= to; n += block) {
        double sum = 0;
        for (qint64 i = n; i < n + block; ++i)
            sum += played.samples[size_t(i)] * played.samples[size_t(i)];
        result.push_back(10 * std::log10(sum / double(block) / reference + 1e-12));
    }
    return result;
}

struct Crashes {
    double perMinute;
    double lowDb, highDb; // the 10th and 90th percentiles of their peaks
};

Crashes crashes(const Played &played)
{
    const double reference = medianTonePower(played);
    std::vector<double> peaks;
    double seconds = 0;
    for (const auto &[start, end] : played.gaps) {
        const std::vector<double> gap = levels(played, start + played.rate / 50, end, reference);
        for (size_t i = 1; i + 2 < gap.size(); ++i) {
            // A block where an onset could be seen: after a quiet one.
            if (gap[i - 1] >= -30)
                continue;
            seconds += 1.0 / 200;
            if (gap[i] > -20)
                peaks.push_back(*std::max_element(gap.begin() + long(i), gap.begin() + long(i) + 3));
        }
    }
    return {double(peaks.size()) / seconds * 60, percentile(peaks, 0.1), percentile(peaks, 0.9)};
}

// The mean power of the tone at `hertz` in the stretches (Goertzel: a
// sinusoid of amplitude a gives a^2 / 2).
double powerAt(const Played &played, const std::vector<std::pair<qint64, qint64>> &stretches, double hertz)
{
    const double w = 2 * std::numbers::pi * hertz / played.rate;
    double total = 0;
    qint64 count = 0;
    for (const auto &[start, end] : stretches) {
        double s1 = 0, s2 = 0;
        for (qint64 n = start; n < end; ++n) {
            const double s0 = played.samples[size_t(n)] + 2 * std::cos(w) * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        total += 2 * (s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / double(end - start);
        count += end - start;
    }
    return total / double(count);
}

struct Station {
    double offsetHz;
    double levelDb;
};

// Where the other station stands, and how loud it is while keyed: the
// strongest frequency between the wanted tone's elements, then its power
// in the gaps' 20 ms blocks that hold it (the loudest tenth, keyed whole)
// against the wanted tone's in its elements.
Station otherStation(const Played &played)
{
    double best = 0, bestHz = 0;
    for (double hz = 700; hz <= 1500; hz += 5) {
        const double power = powerAt(played, played.gaps, hz);
        if (power > best)
            std::tie(best, bestHz) = std::pair{power, hz};
    }
    std::vector<std::pair<qint64, qint64>> blocks;
    for (const auto &[start, end] : played.gaps) {
        for (qint64 n = start + played.rate / 50; n + played.rate / 50 < end; n += played.rate / 50)
            blocks.push_back({n, n + played.rate / 50});
    }
    std::vector<double> powers;
    for (const auto &block : blocks)
        powers.push_back(powerAt(played, {block}, bestHz));
    const double keyed = percentile(powers, 0.95);
    const double wanted = powerAt(played, played.tones, toneHz);
    return {bestHz - toneHz, 10 * std::log10(keyed / wanted)};
}

struct Fist {
    double dotDots;
    double spreadPercent;
};

// The marks as the envelope (the mean of |x| over three of the tone's
// cycles, which a steady tone keeps level) rises through 55 % of its
// keyed-down height and falls through 45 %; the dots are the marks shorter
// than two dots.
Fist fist(const Played &played)
{
    const qint64 window = std::lround(3 * played.rate / toneHz);
    std::vector<double> envelope(played.samples.size());
    double sum = 0;
    for (size_t n = 0; n < played.samples.size(); ++n) {
        sum += std::abs(played.samples[n]);
        if (n >= size_t(window))
            sum -= std::abs(played.samples[n - size_t(window)]);
        envelope[n] = sum / double(window);
    }
    const double height = percentile(envelope, 0.9); // keyed down a third of the time and more
    const double dot = dotMilliseconds(played.pace.speed) * played.rate / 1000;
    std::vector<double> dots;
    qint64 rise = -1;
    for (size_t n = 1; n < envelope.size(); ++n) {
        if (rise < 0 && envelope[n] >= 0.55 * height) {
            rise = qint64(n);
        } else if (rise >= 0 && envelope[n] < 0.45 * height) {
            if (double(qint64(n) - rise) < 2 * dot)
                dots.push_back(double(qint64(n) - rise) / dot);
            rise = -1;
        }
    }
    double mean = 0, spread = 0;
    for (double d : dots)
        mean += d / double(dots.size());
    for (double d : dots)
        spread += (d - mean) * (d - mean) / double(dots.size());
    return {mean, 100 * std::sqrt(spread)};
}

int editDistance(const QString &a, const QString &b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row.back();
}

// The recording with a second of silence either side, as a decoder is
// given it: the first element does not start the file, nor the last end it.
bool writePadded(const Played &played, const QString &path)
{
    WavWriter wav;
    std::vector<qint16> samples(size_t(played.rate), 0);
    for (double sample : played.samples)
        samples.push_back(qint16(sample));
    samples.resize(samples.size() + size_t(played.rate), 0);
    return wav.open(path, played.rate) && wav.write(samples.data(), qint64(samples.size())) && wav.finish();
}

// multimon-ng's character error rate on the recording: its text against
// the groups sent, blanks left out of both, each of its marks for an
// element pattern it could not read one wrong character; -1 without
// multimon-ng. It is told the dot's length and to keep to it (-y), as a
// listener knows the speed of a copy run.
double decoderErrorRate(const Played &played, const QString &wav)
{
    const QString padded = wav + QStringLiteral(".padded.wav");
    if (!writePadded(played, padded))
        return -1;
    const QString dotMs = QString::number(dotMilliseconds(played.pace.speed));
    QProcess decoder;
    decoder.start(QStringLiteral("multimon-ng"),
                  {"-q", "-m", "-a", "MORSE_CW", "-d", dotMs, "-g", dotMs, "-y", "-t", "wav", padded});
    if (!decoder.waitForFinished(120000) || decoder.exitCode() != 0)
        return -1;
    QString decoded = QString::fromLatin1(decoder.readAllStandardOutput());
    decoded.remove(QStringLiteral("MORSE_CW:"));
    decoded.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QStringLiteral("#"));
    decoded.remove(QRegularExpression(QStringLiteral("[^A-Z0-9#]")));
    const QString sent = played.groups.join(QString());
    return 100.0 * editDistance(sent, decoded) / double(sent.size());
}

// Microseconds of rendering a second of the conditions at the keyer's
// rate, while the band is heard.
double renderCost(const BandConditions &conditions)
{
    const int rate = 8000;
    Sidetone sidetone(rate);
    sidetone.setBand(conditions);
    sidetone.append(0, {true, qint64(rate) * 60, true});
    std::vector<qint16> out(size_t(rate) / 100);
    QElapsedTimer timer;
    timer.start();
    for (int block = 0; block < 6000; ++block)
        sidetone.render(out.data(), qint64(out.size()));
    return double(timer.nsecsElapsed()) / 1000 / 60;
}

QString formatNumber(double value, int decimals = 1)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int groups = argc > 1 ? std::max(5, std::atoi(argv[1])) : 20;
    QTemporaryDir dir;
    const QString keep = qEnvironmentVariable("BENCH_KEEP");
    const QString wav = dir.filePath(QStringLiteral("played.wav"));
    bool ok = true;
    const auto run = [&](const QStringList &band, int count, Pace pace = copyPace) {
        std::optional<Played> played = play(band, count, wav, pace);
        ok = ok && played.has_value();
        return played;
    };

    std::printf("SNR, set against measured, and what multimon-ng's MORSE_CW makes of it (%d groups of 5 letters, "
                "%d letters a minute):\n\n",
                groups, copyPace.speed);
    std::printf("| filter Hz | SNR set dB | SNR measured dB | multimon-ng CER %% |\n|---|---|---|---|\n");
    const auto cleanRun = run({}, groups);
    if (cleanRun)
        std::printf("| - | clean | - | %s |\n", qPrintable(formatNumber(decoderErrorRate(*cleanRun, wav))));
    for (const auto &[filter, snr] : std::vector<std::pair<int, double>>{{500, 30},
                                                                         {500, 20},
                                                                         {500, 10},
                                                                         {500, 6},
                                                                         {500, 3},
                                                                         {500, 0},
                                                                         {500, -3},
                                                                         {500, -5},
                                                                         {500, -10},
                                                                         {250, 0},
                                                                         {250, -5},
                                                                         {2400, 10},
                                                                         {2400, 0}}) {
        const auto played = run({"--filter", QString::number(filter), "--snr", QString::number(snr)}, groups);
        if (played)
            std::printf("| %d | %+g | %+.1f | %s |\n", filter, snr, snrDb(*played),
                        qPrintable(formatNumber(decoderErrorRate(*played, wav))));
    }

    const int fadingGroups = groups * 5;
    std::printf("\nFading, set against measured from the power of each 10 ms of the elements (%d groups at %d letters "
                "a minute, no "
                "noise):\n\n",
                fadingGroups, densePace.speed);
    std::printf(
        "| depth set dB | rate set a minute | depth measured dB | fades measured a minute |\n|---|---|---|---|\n");
    for (const auto &[depth, rate] : std::vector<std::pair<double, double>>{{6, slowFadesPerMinute},
                                                                            {13.4, slowFadesPerMinute},
                                                                            {20, slowFadesPerMinute},
                                                                            {6, fastFadesPerMinute},
                                                                            {13.4, fastFadesPerMinute},
                                                                            {20, fastFadesPerMinute}}) {
        const auto played
            = run({"--fading", QString::number(depth), "--fading-rate", QString::number(rate)}, fadingGroups);
        if (played) {
            const Fading measured = fading(*played);
            std::printf("| %g | %g | %.1f | %.1f |\n", depth, rate, measured.depthDb, measured.perMinute);
        }
    }

    const int crashGroups = groups * 10;
    std::printf("\nStatic crashes between the elements (%d groups, no noise; a crash's level is set within 10 dB "
                "either side, and clips 12 dB above the tone):\n\n",
                crashGroups);
    std::printf("| set a minute | level set dB | measured a minute | peaks measured dB, 10th-90th percentile |\n"
                "|---|---|---|---|\n");
    for (const auto &[perMinute, level] : std::vector<std::pair<double, double>>{{10, 10}, {30, 0}, {30, 20}}) {
        const auto played
            = run({"--crashes", QString::number(perMinute), "--crash-level", QString::number(level)}, fadingGroups);
        if (played) {
            const Crashes measured = crashes(*played);
            std::printf("| %g | %+g | %.1f | %+.1f to %+.1f |\n", perMinute, level, measured.perMinute, measured.lowDb,
                        measured.highDb);
        }
    }

    std::printf("\nAnother station, in a 2400 Hz filter with no noise (%d groups):\n\n", groups);
    std::printf("| station set | offset measured Hz | level measured dB |\n|---|---|---|\n");
    for (const QString &station : {QStringLiteral("+300/-6/80/cq"), QStringLiteral("+650/0/100/groups")}) {
        const auto played = run({"--filter", "2400", "--qrm", station}, groups);
        if (played) {
            const Station measured = otherStation(*played);
            std::printf("| %s | %+.0f | %+.1f |\n", qPrintable(station), measured.offsetHz, measured.levelDb);
        }
    }

    std::printf("\nA hand's fist on the played groups (%d groups):\n\n", groups);
    std::printf("| jitter set %% | weight set %% | dot measured, dots | dots' spread measured, %% of a dot |\n"
                "|---|---|---|---|\n");
    for (const auto &[jitter, weight] : std::vector<std::pair<double, double>>{{0, 50}, {10, 50}, {0, 60}, {15, 40}}) {
        const auto played = run({"--jitter", QString::number(jitter), "--weight", QString::number(weight)}, groups);
        if (played) {
            const Fist measured = fist(*played);
            std::printf("| %g | %g | %.2f | %.1f |\n", jitter, weight, measured.dotDots, measured.spreadPercent);
        }
    }

    std::printf("\nThe presets: what multimon-ng makes of them, and the cost of rendering them while heard "
                "(µs of CPU a second of sound, at 8 kHz):\n\n");
    std::printf("| preset | conditions | multimon-ng CER %% | render µs/s |\n|---|---|---|---|\n");
    for (const QString &name : bandPresetNames()) {
        const auto played = run({"--band", name}, groups);
        if (!played)
            continue;
        if (!keep.isEmpty()) {
            QDir().mkpath(keep);
            QFile::remove(keep + QLatin1Char('/') + name + QStringLiteral(".wav"));
            QFile::copy(wav, keep + QLatin1Char('/') + name + QStringLiteral(".wav"));
        }
        const BandConditions conditions = *bandPreset(name);
        std::printf("| %s | %s | %s | %.0f |\n", qPrintable(name), qPrintable(conditions.toText()),
                    qPrintable(formatNumber(decoderErrorRate(*played, wav))), renderCost(conditions));
    }
    return ok ? 0 : 1;
}
