// The keying classifier (presses and releases in, R/H/V out) and the iambic
// paddles: the reports of a trainee's keying, and the speed it is keyed at.

#include "common/morsetable.h"
#include "core/autoecho.h"
#include "core/iambic.h"
#include "core/keyingclassifier.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <cmath>

class ClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void keying_data();
    void keying();
    void follows_the_trainee_data();
    void follows_the_trainee();
    void auto_echo_keys_the_group();
};

void ClassifierTest::keying_data()
{
    // Straight key: "pN" press at N ms, "rN" release, "aN" look at the
    // clock, "xN" reset (the paddles too). Paddles: "+dotN", "-dashN"..., in
    // mode B unless the events start with "A". The dot lasts 100 ms: an
    // element is reported 20 ms after the release, a character ends after
    // 100 * sqrt(3) ms of silence.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reports");

    QTest::newRow("reports fall due after the release") << "p0 r100 a119 a2000" << "R120 V273.205";
    QTest::newRow("a bounce inside a dash is one dash") << "p0 r150 p155 r300 a2000" << "H320 V473.205";
    QTest::newRow("a spike between elements is nothing") << "p0 r100 p150 r153 p200 r500 a2000"
                                                         << "R120 H520 V673.205";
    QTest::newRow("a release without a press, a second press: nothing") << "r50 p100 p150 r200 a2000"
                                                                        << "R220 V373.205";
    QTest::newRow("no character end while the key is held") << "p0 r100 p200 a5000" << "R120";
    QTest::newRow("a reset forgets the character") << "p0 r100 p200 x250 r300 a2000" << "R120";
    // Dash 0-300, dot 400-500 (pressed during the dash), both let go
    // during the dot: A stops, B adds the dash held when the dot began.
    QTest::newRow("squeeze let go, mode A") << "A +dash0 +dot50 -dot450 -dash450" << "H320 R520 V673.205";
    QTest::newRow("squeeze let go, mode B") << "+dash0 +dot50 -dot450 -dash450" << "H320 R520 H920 V1073.21";
    QTest::newRow("dot memory: tapped during a dash") << "A +dash0 +dot100 -dot150 -dash250" << "H320 R520 V673.205";
    QTest::newRow("a paddle held repeats") << "+dot0 -dot450" << "R120 R320 R520 V673.205";
    QTest::newRow("a reset forgets the paddles' memory") << "A +dash0 +dot50 -dot60 x200 -dash210 +dash1000 -dash1100"
                                                         << "H1320 V1473.21";
}

void ClassifierTest::keying()
{
    QFETCH(QString, events);
    QFETCH(QString, reports);

    KeyingClassifier classifier(100);
    IambicKeyer paddles(100, events.startsWith(QLatin1Char('A')) ? IambicKeyer::Mode::A : IambicKeyer::Mode::B);
    QList<KeyReport> got;
    auto sound = [&](const QList<ToneEdge> &edges) {
        for (const ToneEdge &edge : edges)
            got += edge.on ? classifier.press(edge.at) : classifier.release(edge.at);
    };
    for (QString event : events.split(QLatin1Char(' '))) {
        const char kind = event[0].toLatin1();
        const bool dash = event.contains(QLatin1String("dash"));
        const double t = event.remove(QRegularExpression(QStringLiteral("[^0-9.]"))).toDouble();
        switch (kind) {
        case 'p': got += classifier.press(t); break;
        case 'r': got += classifier.release(t); break;
        case 'a': got += classifier.advanceTo(t); break;
        case 'x':
            classifier.reset();
            paddles.reset();
            break;
        case '+':
        case '-': sound(paddles.paddle(dash ? IambicKeyer::Dash : IambicKeyer::Dot, kind == '+', t)); break;
        }
    }
    // A paddle that keeps keying after it is let go ends the loop at 10 s.
    for (auto due = paddles.nextDue(); due && *due < 10000; due = paddles.nextDue())
        sound(paddles.advanceTo(*due));
    got += classifier.advanceTo(1e6);
    QStringList out;
    for (const KeyReport &r : got)
        out << QLatin1Char(r.letter) + QString::number(r.at);
    QCOMPARE(out.join(QLatin1Char(' ')), reports);
}

void ClassifierTest::follows_the_trainee_data()
{
    // The text is keyed evenly at `dot` ms, at `dotAfter` from the "|" on;
    // letter gaps are `letterGap` dots long. The set dot is 100 ms. At the
    // end the trainee's speed is known, within three letters per minute.
    QTest::addColumn<QString>("keyed");
    QTest::addColumn<double>("dot");
    QTest::addColumn<double>("dotAfter");
    QTest::addColumn<double>("letterGap");
    QTest::addColumn<int>("speed");

    QTest::newRow("1.5 times faster than set") << "PARIS73@?KEY" << 66.7 << 66.7 << 3.0 << 90;
    QTest::newRow("slows down to 0.7 times within the run") << "PARIS|TEST5H" << 100.0 << 143.0 << 3.0 << 42;
    QTest::newRow("letter gaps three times long") << "PARIS73@?KEY" << 100.0 << 100.0 << 9.0 << 34;
}


void ClassifierTest::follows_the_trainee()
{
    QFETCH(QString, keyed);
    QFETCH(double, dot);
    QFETCH(double, dotAfter);
    QFETCH(double, letterGap);
    QFETCH(int, speed);

    KeyingClassifier classifier(100);
    QList<KeyReport> got;
    double t = 0;
    for (const QChar c : keyed) {
        if (c == QLatin1Char('|'))
            dot = dotAfter;
        for (const QChar e : elementsOf(c)) {
            got += classifier.press(t);
            t += (e == QLatin1Char('H') ? 3 : 1) * dot;
            got += classifier.release(t);
            t += dot;
        }
        t += (letterGap - 1) * dot;
    }
    got += classifier.advanceTo(t + 10000);
    QString letters, expected;
    for (const KeyReport &r : got)
        letters += QLatin1Char(r.letter);
    for (QChar c : keyed.remove(QLatin1Char('|')))
        expected += elementsOf(c) + QLatin1Char('V');
    QCOMPARE(letters, expected);
    QVERIFY2(qAbs(classifier.lettersPerMinute() - speed) < 3, qPrintable(QString::number(classifier.lettersPerMinute())));
}

void ClassifierTest::auto_echo_keys_the_group()
{
    // The keyer's own trainee keys the group, every character right or, at
    // an error rate of 1, every one wrong; its sound matches its reports:
    // the plan ends with the last character end.
    const QString group = QStringLiteral("\u00C1\u00C9\u00D6\u00DC.?:-=/@1234567890");
    QRandomGenerator random(7);
    for (int round = 0; round < 50; ++round) {
        const bool wrong = round % 2;
        const EchoPlan plan = planEcho(group, 8000 * 6.0 / 70, wrong ? 1 : 0, random);
        QString letters, expected;
        for (const KeyReport &r : plan.reports)
            letters += QLatin1Char(r.letter);
        for (QChar c : plan.keyed)
            expected += elementsOf(c) + QLatin1Char('V');
        qint64 total = 0;
        for (const ToneSegment &segment : plan.segments)
            total += segment.samples;
        QVERIFY(plan.keyed.size() == group.size() && letters == expected);
        for (qsizetype i = 0; i < group.size(); ++i)
            QVERIFY((plan.keyed[i] != group[i]) == wrong);
        QVERIFY(total == plan.length && qint64(std::ceil(plan.reports.last().at)) == plan.length);
    }
}

QTEST_APPLESS_MAIN(ClassifierTest)
#include "tst_keyer_classifier.moc"
