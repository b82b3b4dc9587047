// The keyer's Morse timing, measured in its --wav recording: the lengths of
// elements, gaps, characters and whole groups, the pause after a group, the
// pitch and the soft edges of the tone.

#include "common/frames.h"
#include "common/morsetable.h"
#include "keyerprocess.h"
#include "wavrecording.h"

#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TimingTest : public QObject
{
    Q_OBJECT

private slots:
    void copy_group_data();
    void copy_group();
};

void TimingTest::copy_group_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("pause");
    QTest::addColumn<int>("tone");

    QTest::newRow("speed 30, PARIS") << 30 << "PARIS" << 50 << 600;
    QTest::newRow("speed 60, accents, digits and signs")
        << 60 << QStringLiteral("\u00C1B1?@\u00DC") << 30 << 600;
    QTest::newRow("speed 70, long group, pause 200, 800 Hz") << 70 << "QZ0.=/KM" << 200 << 800;
}

void TimingTest::copy_group()
{
    QFETCH(int, speed);
    QFETCH(QString, group);
    QFETCH(int, pause);
    QFETCH(int, tone);

    QTemporaryDir dir;
    const QString wavPath = dir.filePath(QStringLiteral("played.wav"));
    KeyerProcess keyer;
    QVERIFY(keyer.start({"--fast", "--headless", "--tone", QString::number(tone), "--wav", wavPath}));
    TrainerLine trainer;
    QVERIFY(answerKeyer(keyer, trainer));
    trainer.send(speedFrame(QString::number(speed)) + pauseFrame(quint8(pause)) + copyStartFrame()
                 + groupFrame(group));
    QVERIFY(trainer.waitFor("OK\r\n"));
    QVERIFY(keyer.stop());

    const WavRecording wav = readWav(wavPath);
    QVERIFY(wav.sampleRate >= 8000);
    const double rate = wav.sampleRate;
    const double dot = 6.0 * rate / speed; // 6000 / speed ms
    // A tone is heard from where its rising edge passes half the amplitude
    // to where its falling edge does. A sine crosses that level twice a
    // period, so each end is found to within half a period.
    const double slack = rate / tone / 2 + 2;
    const std::vector<ToneRun> runs = toneRuns(wav, 16383 / 2, qint64(rate / tone) + 1);

    // What the group must sound like, in dots: tones and the gaps before them.
    QList<int> toneDots, gapDots;
    for (const QChar c : group) {
        const QString elements = elementsOf(c);
        QVERIFY(!elements.isEmpty());
        for (qsizetype e = 0; e < elements.size(); ++e) {
            gapDots << (toneDots.isEmpty() ? 0 : e == 0 ? 3 : 1);
            toneDots << (elements[e] == QLatin1Char('H') ? 3 : 1);
        }
    }
    QCOMPARE(runs.size(), size_t(toneDots.size()));

    // The half-amplitude point lies half an edge into the rise.
    const double edge = 0.005 * rate;
    QVERIFY2(std::abs(runs[0].start - edge / 2) <= slack, qPrintable(QString::number(runs[0].start)));
    for (qsizetype i = 0; i < toneDots.size(); ++i) {
        const ToneRun &run = runs[size_t(i)];
        const QString where = QStringLiteral("element %1: %2 samples").arg(i).arg(run.length());
        QVERIFY2(std::abs(run.length() - toneDots[i] * dot) <= slack, qPrintable(where));
        if (i > 0) {
            const qint64 gap = run.start - runs[size_t(i) - 1].end;
            QVERIFY2(std::abs(gap - gapDots[i] * dot) <= slack,
                     qPrintable(QStringLiteral("gap before element %1: %2 samples").arg(i).arg(gap)));
        }
    }

    // The whole group, and the pause after it: the recording ends when the
    // "OK" goes out.
    int groupDots = 0;
    for (qsizetype i = 0; i < toneDots.size(); ++i)
        groupDots += gapDots[i] + toneDots[i];
    const qint64 heard = runs.back().end - runs.front().start;
    QVERIFY2(std::abs(heard - groupDots * dot) <= slack, qPrintable(QString::number(heard)));
    const qint64 after = qint64(wav.samples.size()) - runs.back().end;
    QVERIFY2(std::abs(after - (pause * rate / 100 - edge / 2)) <= slack, qPrintable(QString::number(after)));

    // The pitch: zero crossings in the longest tone.
    const ToneRun longest = *std::max_element(runs.begin(), runs.end(),
                                              [](const ToneRun &a, const ToneRun &b) { return a.length() < b.length(); });
    int crossings = 0;
    for (qint64 i = longest.start + 1; i < longest.end; ++i)
        crossings += (wav.samples[size_t(i - 1)] < 0) != (wav.samples[size_t(i)] < 0);
    const double hertz = crossings / 2.0 / (longest.length() / rate);
    QVERIFY2(std::abs(hertz - tone) < tone * 0.02, qPrintable(QString::number(hertz)));

    // Soft edges: the first element climbs to full strength over about 5 ms,
    // never in a jump.
    qint64 firstSound = 0;
    while (wav.samples[size_t(firstSound)] == 0 && firstSound < runs[0].start)
        ++firstSound;
    qint64 full = firstSound;
    while (qAbs(int(wav.samples[size_t(full)])) < 16383 * 0.95)
        ++full;
    QVERIFY2(full - firstSound >= edge * 0.7 && full - firstSound <= edge + slack,
             qPrintable(QString::number(full - firstSound)));
    for (qint64 i = firstSound; i < firstSound + qint64(edge) / 4; ++i)
        QVERIFY(qAbs(int(wav.samples[size_t(i)])) < 16383 / 4);
}

QTEST_GUILESS_MAIN(TimingTest)
#include "tst_keyer_timing.moc"
