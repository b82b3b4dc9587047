// SPDX-License-Identifier: GPL-3.0-or-later
// The keyer's Morse timing, measured in its --wav recording: the lengths of
// elements and gaps, the pause after each group (an empty one too), the
// pitch and the soft edges of the tone; bad bytes between frames are noted
// and skipped. The sidetone rendered again after a change (as the sound
// thread does with what waits at the server) is what it would have been
// had the change been known from the start, and the key sounds as it was
// keyed though its edges come late.

#include "common/frames.h"
#include "common/morsetable.h"
#include "core/sidetone.h"
#include "keyerprocess.h"
#include "sound/soundexchange.h"
#include "wavrecording.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TimingTest : public QObject
{
    Q_OBJECT

private slots:
    void copy_groups_data();
    void copy_groups();
    void sidetone_rendered_again();
    void sidetone_follows_the_keys_moments();
};

void TimingTest::copy_groups_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<int>("pause");
    QTest::addColumn<int>("tone");
    QTest::addColumn<int>("charSpeed"); // 0: none

    QTest::newRow("speed 30, PARIS") << 30 << "PARIS" << 50 << 600 << 0;
    QTest::newRow("speed 60, accents, digits and signs, an empty group")
        << 60 << QStringLiteral("\u00C1B1?@\u00DC||TM") << 30 << 600 << 0;
    QTest::newRow("speed 70, pause 200, 800 Hz") << 70 << "QZ0.=/KM|EI5" << 200 << 800 << 0;
    QTest::newRow("characters at 100, groups at 60 (Farnsworth)") << 60 << "PARIS|KM" << 50 << 600 << 100;
}

void TimingTest::copy_groups()
{
    QFETCH(int, speed);
    QFETCH(QString, groups);
    QFETCH(int, pause);
    QFETCH(int, tone);
    QFETCH(int, charSpeed);

    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    KeyerProcess keyer;
    QStringList options{"--fast", "--headless", "--tone", QString::number(tone), "--wav", wavPath};
    if (charSpeed > 0)
        options << "--char-speed" << QString::number(charSpeed);
    QVERIFY(keyer.start(options));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));
    QByteArray frames
        = speedFrame(QString::number(speed)) + pauseFrame(quint8(pause)) + "hello there" + copyStartFrame();
    const QStringList groupList = groups.split(QLatin1Char('|'));
    for (const QString &group : groupList)
        frames += "<y>" + groupFrame(group);
    trainer.send(frames);
    QVERIFY(trainer.waitFor("OK\r\n", int(groupList.size())));
    QVERIFY(keyer.stop());
    QVERIFY2(keyer.errors().contains("\"hello there\"") && keyer.errors().contains("\"<y>\""),
             keyer.errors().constData());

    const WavRecording wav = readWav(wavPath);
    QVERIFY(wav.sampleRate >= 8000);
    const double rate = wav.sampleRate;
    const double dot = 6.0 * rate / qMax(speed, charSpeed); // 6000 / speed ms
    // Bloom's spacing per word at c and s words per minute, 3/19 of it between
    // characters; a group's pause grows by what the word space (7/19) grows.
    const double c = qMax(speed, charSpeed) / 5.0;
    const double s = speed / 5.0;
    const double characterGap = charSpeed > 0 ? (60 * c - 37.2 * s) / (s * c) * rate * 3 / 19 : 3 * dot;
    const double pauseStretch
        = charSpeed > 0 ? (60 * c - 37.2 * s) / (s * c) * rate * 7 / 19 - 7 * 6.0 * rate / speed : 0;
    // A tone is heard from where its rising edge passes half the amplitude
    // to where its falling edge does. A sine crosses that level twice a
    // period, so each end is found to within half a period.
    const double slack = rate / tone / 2 + 2;
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, qint64(rate / tone) + 1);

    // Each tone and the gap before it; the half-amplitude point lies half
    // an edge into the rise. A group, even an empty one, ends with its pause.
    const double edge = 0.005 * rate;
    qint64 toneEnd = qint64(edge / 2);
    double pauses = 0;
    size_t at = 0;
    for (const QString &group : groupList) {
        for (qsizetype c = 0; c < group.size(); ++c) {
            const QString elements = elementsOf(group[c]);
            for (qsizetype e = 0; e < elements.size(); ++e, ++at) {
                QVERIFY2(at < runs.size(), "too few tones");
                const ToneRun &run = runs[at];
                const double gap = pauses > 0 ? pauses : at == 0 ? 0 : e == 0 ? characterGap : dot;
                const double length = elements[e] == QLatin1Char('H') ? 3 : 1;
                QVERIFY2(std::abs(run.start - toneEnd - gap) <= slack && std::abs(run.length() - length * dot) <= slack,
                         qPrintable(QStringLiteral("tone %1: %2 to %3").arg(at).arg(run.start).arg(run.end)));
                toneEnd = run.end;
                pauses = 0;
            }
        }
        pauses += pause * rate / 100 + pauseStretch;
    }
    QCOMPARE(runs.size(), at);
    // The recording ends when the last "OK" goes out.
    const qint64 after = qint64(wav.samples.size()) - runs.back().end;
    QVERIFY2(std::abs(after - (pauses - edge / 2)) <= slack, qPrintable(QString::number(after)));

    // The pitch: zero crossings in the last tone.
    int crossings = 0;
    for (qint64 i = runs.back().start + 1; i < runs.back().end; ++i)
        crossings += (wav.samples[size_t(i - 1)] < 0) != (wav.samples[size_t(i)] < 0);
    const double hertz = crossings / 2.0 / (runs.back().length() / rate);
    QVERIFY2(std::abs(hertz - tone) < tone * 0.02, qPrintable(QString::number(hertz)));

    // Soft edges: the first element climbs to full strength over about 5 ms,
    // never in a jump.
    qint64 first = 0;
    while (wav.samples[size_t(first)] == 0)
        ++first;
    qint64 full = first;
    for (; qAbs(int(wav.samples[size_t(full)])) < 16383 * 0.95; ++full)
        QVERIFY(full - first > edge / 4 || qAbs(int(wav.samples[size_t(full)])) < 16383 / 4);
    QVERIFY2(full - first >= edge * 0.7 && full - first <= edge + slack, qPrintable(QString::number(full - first)));
}

void TimingTest::sidetone_rendered_again()
{
    // A tone scheduled over 100..300, rendered to 400 with the key up;
    // then the key goes down at 350, a tone is appended at 420, the
    // schedule is cleared at 430 and the key goes up there.
    const auto straight = [](Sidetone &tone, qint16 *out) {
        tone.append(100, {true, 200});
        tone.render(out, 350);
        tone.key(true, 350);
        tone.append(420, {true, 100});
        tone.render(out + 350, 80);
        tone.clearSchedule();
        tone.key(false, 430);
        tone.render(out + 430, 170);
    };
    std::vector<qint16> expected(600), got(600);
    Sidetone known(8000);
    straight(known, expected.data());

    Sidetone again(8000);
    again.append(100, {true, 200});
    again.render(got.data(), 400);
    again.settle(302); // just after the tone's end, as it falls
    QCOMPARE(again.rewindTo(20), qint64(302)); // not before what is settled
    again.render(got.data() + 302, 98);
    QCOMPARE(again.key(true, 350), qint64(350));
    QCOMPARE(again.rewindTo(350), qint64(350));
    again.render(got.data() + 350, 200);
    again.append(420, {true, 100});
    QCOMPARE(again.rewindTo(300), qint64(302));
    again.render(got.data() + 302, 248);
    QCOMPARE(again.rewindTo(430), qint64(430));
    again.clearSchedule();
    QCOMPARE(again.key(false, 430), qint64(430));
    again.render(got.data() + 430, 170);
    QVERIFY(got == expected);
}

void TimingTest::sidetone_follows_the_keys_moments()
{
    // Each edge comes to the sidetone when what is settled has reached
    // `settled`, as the sound thread hands it over, seen at `seen`. A late
    // edge cannot sound where it was seen; the edges after it keep their
    // distance to it until the key has rested (100 ms: 800 samples).
    struct Edge {
        bool down;
        qint64 seen, settled, sounds;
    };
    const QList<Edge> edges{
        {true, 1000, 1000, 1000}, // at once
        {false, 1400, 1400, 1400}, {true, 1900, 1940, 1940}, // 5 ms late: the tone starts late...
        {false, 2380, 2380, 2420}, // ...and lasts as keyed
        {true, 2860, 2860, 2900}, // the gap inside the character too
        {false, 3100, 3180, 3180}, // late by more: the element is longer, by as little as can be
        {true, 3580, 3580, 3660},  {false, 3900, 3900, 3980}, {true, 4800, 4800, 4800}, // after a rest, at once again
        {false, 5200, 5200, 5200},
    };
    // The moments are on the monotonic clock, a sample (125 µs) apart.
    Sidetone tone(8000, 600, 0);
    SoundExchange exchange;
    std::vector<qint16> out(8000);
    for (const Edge &edge : edges) {
        tone.render(out.data() + tone.position(), edge.settled + 2000 - tone.position()); // the lead at the server
        exchange.commands.push({edge.down ? PlayCommand::KeyDown : PlayCommand::KeyUp, edge.seen * 125'000, {}});
        takeChanges(exchange, tone, edge.settled, edge.settled * 125'000);
    }
    tone.render(out.data() + tone.position(), qint64(out.size()) - tone.position());
    // Where the tone starts and stops: a tone's first sample (at phase 0)
    // and the one where it stops are silent, and so is a sample now and then
    // where the sine crosses zero.
    QList<qint64> heard;
    qint64 last = -100;
    for (qint64 p = 0; p < qint64(out.size()); ++p) {
        if (out[size_t(p)] == 0)
            continue;
        if (p - last > 5)
            heard << (heard.isEmpty() ? QList<qint64>{} : QList<qint64>{last + 1}) << p - 1;
        last = p;
    }
    heard << last + 1;
    QList<qint64> planned;
    for (const Edge &edge : edges)
        planned << edge.sounds;
    QCOMPARE(heard, planned);
}

QTEST_GUILESS_MAIN(TimingTest)
#include "tst_keyer_timing.moc"
