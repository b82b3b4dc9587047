// The keying classifier (presses and releases in, R/H/V out) and the keyer's
// own trainee, whose keying must come out as the characters it meant.

#include "common/morsetable.h"
#include "core/autoecho.h"
#include "core/keyingclassifier.h"

#include <QRandomGenerator>
#include <QTest>

class ClassifierTest : public QObject
{
    Q_OBJECT

private slots:
    void keying_data();
    void keying();
    void speed_change_moves_the_limits();
    void auto_echo_keys_the_group_data();
    void auto_echo_keys_the_group();
};

void ClassifierTest::keying_data()
{
    // Events: "pN" press at N ms, "rN" release, "aN" look at the clock.
    // Reports: letter and the time it fell due. A dot lasts 100 ms.
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("reports");

    QTest::newRow("a dot-long press is short") << "p0 r100 a1000" << "R100 V400";
    QTest::newRow("just under two dots is short") << "p0 r199.9 a1000" << "R199.9 V499.9";
    QTest::newRow("two dots is long") << "p0 r200 a1000" << "H200 V500";
    QTest::newRow("a dash-long press is long") << "p0 r300 a1000" << "H300 V600";
    QTest::newRow("a gap under three dots keeps the character")
        << "p0 r100 p399 r699 a2000" << "R100 H699 V999";
    QTest::newRow("three dots of silence end it") << "p0 r100 p400 r500 a2000" << "R100 V400 R500 V800";
    QTest::newRow("no character end before it is due") << "p0 r100 a399" << "R100";
    QTest::newRow("the character end comes once") << "p0 r100 a400 a900 a5000" << "R100 V400";
    QTest::newRow("no character end while the key is held") << "p0 r100 p300 a5000" << "R100";
    QTest::newRow("nothing keyed, nothing reported") << "a5000" << "";
    QTest::newRow("a release without a press is nothing") << "r100 a5000" << "";
    QTest::newRow("a second press while down is nothing") << "p0 p50 r150 a1000" << "R150 V450";
    QTest::newRow("the letter A") << "p0 r100 p200 r500 a1000" << "R100 H500 V800";
}

void ClassifierTest::keying()
{
    QFETCH(QString, events);
    QFETCH(QString, reports);

    KeyingClassifier classifier(100);
    QStringList got;
    for (const QString &event : events.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const double t = event.mid(1).toDouble();
        QList<KeyReport> out;
        switch (event[0].toLatin1()) {
        case 'p': out = classifier.press(t); break;
        case 'r': out = classifier.release(t); break;
        default: out = classifier.advanceTo(t); break;
        }
        for (const KeyReport &r : out)
            got << QLatin1Char(r.letter) + QString::number(r.at);
    }
    QCOMPARE(got.join(QLatin1Char(' ')), reports);
}

void ClassifierTest::speed_change_moves_the_limits()
{
    KeyingClassifier classifier(100);
    classifier.setDotMs(50); // speed 120
    QCOMPARE(classifier.press(0).size(), 0);
    const QList<KeyReport> out = classifier.release(120);
    QCOMPARE(out.size(), 1);
    QCOMPARE(out[0].letter, 'H');
    QCOMPARE(classifier.characterEndDue(), std::optional<double>(270));
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
        QCOMPARE(qint64(plan.reports.last().at), plan.length);
        for (qsizetype i = 1; i < plan.reports.size(); ++i)
            QVERIFY(plan.reports[i].at > plan.reports[i - 1].at);
    }
}

QTEST_APPLESS_MAIN(ClassifierTest)
#include "tst_keyer_classifier.moc"
