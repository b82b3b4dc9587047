// The keying classifier (presses and releases in, R/H/V out), the iambic
// paddles, and the keyer's own trainee, whose keying must come out as the
// characters it meant.

#include "common/morsetable.h"
#include "core/autoecho.h"
#include "core/iambic.h"
#include "core/keyingclassifier.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <utility>

class ClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void keying_data();
    void keying();
    void follows_the_trainee_data();
    void follows_the_trainee();
    void iambic_squeeze_data();
    void iambic_squeeze();
    void auto_echo_keys_the_group_data();
    void auto_echo_keys_the_group();
};

namespace {

QString text(const QList<KeyReport> &reports, bool withTimes)
{
    QString out;
    for (const KeyReport &r : reports) {
        out += QLatin1Char(r.letter);
        if (withTimes)
            out += QString::number(r.at) + QLatin1Char(' ');
    }
    return out.trimmed();
}

} // namespace

void ClassifierTest::keying_data()
{
    // Events: "pN" press at N ms, "rN" release, "aN" look at the clock.
    // The set dot is 100 ms: an element is reported 20 ms after the release,
    // a character ends after 100 * sqrt(3) ms of silence.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reports");

    QTest::newRow("reports fall due after the release")
        << "p0 r100 a119 a2000" << "R120 V273.205";
    QTest::newRow("the letter A") << "p0 r100 p200 r500 a2000" << "R120 H520 V673.205";
    QTest::newRow("a bounce inside a dash is one dash") << "p0 r150 p155 r300 a2000" << "H320 V473.205";
    QTest::newRow("a spike between two elements is nothing")
        << "p0 r100 p150 r153 p200 r500 a2000" << "R120 H520 V673.205";
    QTest::newRow("a release without a press, a second press: nothing") << "r50 p100 p150 r200 a2000"
                                                                        << "R220 V373.205";
    QTest::newRow("no character end while the key is held") << "p0 r100 p200 a5000" << "R120";
}

void ClassifierTest::keying()
{
    QFETCH(QString, events);
    QFETCH(QString, reports);

    KeyingClassifier classifier(100);
    QList<KeyReport> got;
    for (const QString &event : events.split(QLatin1Char(' '))) {
        const double t = event.mid(1).toDouble();
        switch (event[0].toLatin1()) {
        case 'p': got += classifier.press(t); break;
        case 'r': got += classifier.release(t); break;
        default: got += classifier.advanceTo(t); break;
        }
    }
    QCOMPARE(text(got, true), reports);
}

void ClassifierTest::follows_the_trainee_data()
{
    // The text is keyed evenly at `dot` ms, at `dotAfter` from the "|" on;
    // letter gaps are `letterGap` dots long. The set dot is 100 ms.
    QTest::addColumn<QString>("keyed");
    QTest::addColumn<double>("dot");
    QTest::addColumn<double>("dotAfter");
    QTest::addColumn<double>("letterGap");

    QTest::newRow("1.5 times faster than set") << "PARIS 73 @?" << 66.7 << 66.7 << 3.0;
    QTest::newRow("0.7 times slower than set") << "PARIS 73 @?" << 143.0 << 143.0 << 3.0;
    QTest::newRow("speeds up to 1.5 times within the run") << "PARIS|TEST 5H" << 100.0 << 66.7 << 3.0;
    QTest::newRow("slows down to 0.7 times within the run") << "PARIS|TEST 5H" << 100.0 << 143.0 << 3.0;
    QTest::newRow("letter gaps three times long") << "PARIS 73 @?" << 100.0 << 100.0 << 9.0;
}

void ClassifierTest::follows_the_trainee()
{
    QFETCH(QString, keyed);
    QFETCH(double, dot);
    QFETCH(double, dotAfter);
    QFETCH(double, letterGap);

    KeyingClassifier classifier(100);
    QString read;
    QString elements;
    auto take = [&](const QList<KeyReport> &reports) {
        for (const KeyReport &r : reports) {
            if (r.letter == 'V')
                read += decodeElements(std::exchange(elements, QString()));
            else
                elements += QLatin1Char(r.letter);
        }
    };
    double t = 0;
    for (const QChar c : keyed) {
        if (c == QLatin1Char('|')) {
            dot = dotAfter;
            continue;
        }
        const QString code = elementsOf(c);
        for (const QChar e : code) {
            take(classifier.press(t));
            t += (e == QLatin1Char('H') ? 3 : 1) * dot;
            take(classifier.release(t));
            t += dot;
        }
        t += (letterGap - 1) * dot;
        if (code.isEmpty())
            read += c; // a blank: the word gap, no characters
    }
    take(classifier.advanceTo(t + 10000));
    keyed.remove(QLatin1Char('|'));
    keyed.remove(QLatin1Char(' '));
    read.remove(QLatin1Char(' '));
    QCOMPARE(read, keyed);
}

void ClassifierTest::iambic_squeeze_data()
{
    // Paddle events: "+dashN" dash paddle down at N ms, "-dotN" dot paddle
    // up. The dot lasts 100 ms.
    QTest::addColumn<QString>("events");
    QTest::addColumn<bool>("modeB");
    QTest::addColumn<QString>("reports");

    // Dash 0-300, dot 400-500 (pressed during the dash), both let go
    // during the dot: A stops, B adds the dash held when the dot began.
    QTest::newRow("squeeze let go in mode A") << "+dash0 +dot50 -dot450 -dash450" << false << "HRV";
    QTest::newRow("squeeze let go in mode B") << "+dash0 +dot50 -dot450 -dash450" << true << "HRHV";
    QTest::newRow("dot memory: tapped during a dash") << "+dash0 +dot100 -dot150 -dash250" << false << "HRV";
    QTest::newRow("a paddle held repeats") << "+dot0 -dot450" << true << "RRRV";
    QTest::newRow("squeeze held alternates") << "+dot0 +dash10 -dot1150 -dash1150" << false << "RHRHV";
}

void ClassifierTest::iambic_squeeze()
{
    QFETCH(QString, events);
    QFETCH(bool, modeB);
    QFETCH(QString, reports);

    IambicKeyer paddles(100, modeB ? IambicKeyer::Mode::B : IambicKeyer::Mode::A);
    KeyingClassifier classifier(100);
    QList<KeyReport> got;
    auto sound = [&](const QList<ToneEdge> &edges) {
        for (const ToneEdge &edge : edges)
            got += edge.on ? classifier.press(edge.at) : classifier.release(edge.at);
    };
    for (const QString &event : events.split(QLatin1Char(' '))) {
        const bool dash = event.mid(1).startsWith(QLatin1String("dash"));
        const double t = event.mid(dash ? 5 : 4).toDouble();
        sound(paddles.paddle(dash ? IambicKeyer::Dash : IambicKeyer::Dot, event[0] == QLatin1Char('+'), t));
    }
    while (const auto due = paddles.nextDue())
        sound(paddles.advanceTo(*due));
    got += classifier.advanceTo(1e6);
    QCOMPARE(text(got, false), reports);
}

namespace {

// The reports of a plan, and the reports that key `group`: the element
// letters of each character, then its "V".
QString reportLetters(const QList<KeyReport> &reports)
{
    QString letters;
    for (const KeyReport &r : reports)
        letters += QLatin1Char(r.letter);
    return letters;
}

QString reportsKeying(const QString &group)
{
    QString letters;
    for (QChar c : group)
        letters += elementsOf(c) + QLatin1Char('V');
    return letters;
}

} // namespace

void ClassifierTest::auto_echo_keys_the_group_data()
{
    QTest::addColumn<double>("dotSamples");
    QTest::addColumn<QString>("group");
    QTest::newRow("speed 30, letters") << 8000 * 0.2 << "PARIS";
    QTest::newRow("speed 60, accents and signs") << 8000 * 0.1 << QStringLiteral("\u00C1\u00C9\u00D6\u00DC.?:-=/@");
    QTest::newRow("speed 70, digits") << 8000 * 6.0 / 70 << "1234567890";
}

void ClassifierTest::auto_echo_keys_the_group()
{
    QFETCH(double, dotSamples);
    QFETCH(QString, group);
    QRandomGenerator random(7);
    for (int round = 0; round < 50; ++round) {
        const EchoPlan plan = planEcho(group, dotSamples, 0, random);
        QCOMPARE(plan.keyed, group);
        QCOMPARE(reportLetters(plan.reports), reportsKeying(group));
        // The sound matches the reports: the plan ends with the last
        // character end, and no report is due after it.
        qint64 total = 0;
        for (const ToneSegment &s : plan.segments)
            total += s.samples;
        QCOMPARE(total, plan.length);
        QCOMPARE(qint64(std::ceil(plan.reports.last().at)), plan.length);
        for (qsizetype i = 1; i < plan.reports.size(); ++i)
            QVERIFY(plan.reports[i].at > plan.reports[i - 1].at);
    }
}

QTEST_APPLESS_MAIN(ClassifierTest)
#include "tst_keyer_classifier.moc"
