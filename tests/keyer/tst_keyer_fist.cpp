// SPDX-License-Identifier: GPL-3.0-or-later
// The timing of a trainee's fist, measured on synthetic groups keyed with
// known faults and on clean ones: per group, over a session, and played back
// as keyed. The walk-through reads the session's CSV back.

#include "common/morsetable.h"
#include "core/fistsession.h"
#include "core/fisttiming.h"

#include <QTest>

namespace {

constexpr double dotMs = 100; // speed 60

// How a synthetic trainee keys: lengths in dots, and a speed that grows
// from the group's start to its end by `speedUp`.
struct Fist {
    double dash = 3;
    double elementGap = 1;
    double letterGap = 3;
    double speedUp = 0;
    QChar longGapIn = {}; // one gap inside this character held 1.7 dots
    bool paddles = false;
    double wordGap = 7; // where the group has a blank
};

GroupReview keyed(const QString &group, const Fist &fist, int number = 1)
{
    GroupReview review{number, group, {}, 0};
    double at = 0;
    for (qsizetype i = 0; i < group.size(); ++i) {
        const double dot = dotMs / (1 + fist.speedUp * double(i) / double(group.size() - 1));
        if (group[i] == QLatin1Char(' ')) {
            at += dot * (fist.wordGap - fist.letterGap);
            continue;
        }
        const QString elements = elementsOf(group[i]);
        KeyedCharacter character{elements, true, {}};
        for (qsizetype e = 0; e < elements.size(); ++e) {
            if (e > 0)
                at += dot * (group[i] == fist.longGapIn && e == 1 ? 1.7 : fist.elementGap);
            const double length = dot * (elements[e] == QLatin1Char('H') ? fist.dash : 1);
            character.marks.append({at, at + length, fist.paddles});
            at += length;
        }
        review.keyed << character;
        at += dot * fist.letterGap;
    }
    return review;
}

QString offNames(const FistTiming &timing)
{
    static const char *names[] = {"speed", "dash", "element gap", "letter gap", "word gap", "speed change"};
    QStringList off;
    for (int measure : timing.offMeasures())
        off << QLatin1String(names[measure]);
    return off.join(QLatin1String(", "));
}

} // namespace

Q_DECLARE_METATYPE(Fist)

class FistTest : public QObject
{
    Q_OBJECT

private slots:
    void a_group_s_measures_data();
    void a_group_s_measures();
    void paddles_are_judged_on_their_spacing_alone();
    void letters_run_together_are_still_told_apart();
    void word_gaps_where_the_group_has_a_blank();
    void a_group_not_timed_is_not_measured();
    void the_session_s_means_and_what_is_furthest_off();
    void played_back_as_keyed_then_as_it_should_sound();
};

void FistTest::a_group_s_measures_data()
{
    QTest::addColumn<Fist>("fist");
    QTest::addColumn<int>("measure");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QString>("off");

    // Clean: off in no measure (the other measures' values are the faulty rows').
    QTest::newRow("a clean fist: every measure right") << Fist{} << int(DashRatio) << 3.0 << "";
    QTest::newRow("clean: the gaps inside letters") << Fist{} << int(ElementGap) << 1.0 << "";
    QTest::newRow("dashes at 2.2 dots") << Fist{2.2} << int(DashRatio) << 2.2 << "dash";
    QTest::newRow("letter gaps at 1.5 dots") << Fist{3, 1, 1.5} << int(LetterGap) << 1.5 << "letter gap";
    // The last character 20 % faster than the first: the group is a tenth
    // faster than set, which is not yet off.
    QTest::newRow("speeding up by 20 %") << Fist{3, 1, 3, 0.2} << int(SpeedChange) << 0.2 << "speed change";
    QTest::newRow("speeding up by 10 %") << Fist{3, 1, 3, 0.1} << int(SpeedChange) << 0.1 << "";
    QTest::newRow("slow letter gaps slow the group") << Fist{3, 1, 6} << int(Speed) << 47.0 << "speed, letter gap";
}

void FistTest::a_group_s_measures()
{
    QFETCH(Fist, fist);
    QFETCH(int, measure);
    QFETCH(double, expected);
    QFETCH(QString, off);

    const std::optional<FistTiming> timing = measureFist(keyed(QStringLiteral("PARIS"), fist), 60);
    QVERIFY(timing);
    const std::optional<FistMeasure> value = fistMeasure(*timing, measure);
    QVERIFY(value);
    QVERIFY2(std::abs(value->keyed - expected) <= 0.02 * std::max(1.0, expected),
             qPrintable(QString::number(value->keyed)));
    QCOMPARE(offNames(*timing), off);
    QVERIFY(!timing->paddles);
}

void FistTest::paddles_are_judged_on_their_spacing_alone()
{
    // The paddles' elements and the gaps inside a character are their own:
    // not judged even if they look short; the trainee's letter gaps are,
    // and the speed they give.
    Fist fist{2.2, 0.6, 2};
    fist.paddles = true;
    const std::optional<FistTiming> timing = measureFist(keyed(QStringLiteral("PARIS"), fist), 60);
    QVERIFY(timing);
    QVERIFY(timing->paddles);
    QVERIFY(!timing->dashRatio);
    QVERIFY(!timing->elementGap);
    QCOMPARE(offNames(*timing), QStringLiteral("speed, letter gap"));
}

void FistTest::letters_run_together_are_still_told_apart()
{
    // "PA" with a gap of 1.5 dots between the letters, read as one
    // character: its elements are the group's, so the letters are too.
    GroupReview review = keyed(QStringLiteral("PA"), Fist{3, 1, 1.5});
    review.keyed[0].elements += review.keyed[1].elements;
    review.keyed[0].marks += review.keyed[1].marks;
    review.keyed.removeLast();
    const std::optional<FistTiming> timing = measureFist(review, 60);
    QVERIFY(timing && timing->letterGap);
    QCOMPARE(timing->letterGap->keyed, 1.5);
    QCOMPARE(offNames(*timing), QStringLiteral("letter gap"));
}

void FistTest::word_gaps_where_the_group_has_a_blank()
{
    const std::optional<FistTiming> even = measureFist(keyed(QStringLiteral("PA RIS"), {}), 60);
    QVERIFY(even && even->wordGap && even->letterGap);
    QCOMPARE(even->wordGap->keyed, 7.0);
    QCOMPARE(offNames(*even), QString());
    Fist fist;
    fist.wordGap = 4;
    const std::optional<FistTiming> short_ = measureFist(keyed(QStringLiteral("PA RIS"), fist), 60);
    QVERIFY(short_);
    QCOMPARE(offNames(*short_), QStringLiteral("word gap"));
}

void FistTest::a_group_not_timed_is_not_measured()
{
    // The trainer's groups keyed by a hardware keyer's side, or nothing keyed.
    GroupReview untimed = keyed(QStringLiteral("AB"), {});
    untimed.keyed[1].marks.clear();
    QVERIFY(!measureFist(untimed, 60));
    QVERIFY(!measureFist({1, QStringLiteral("AB"), {}, 2}, 60));
    // A character keyed after the group is not measured with it.
    GroupReview late = keyed(QStringLiteral("AB"), {});
    late.keyed[1].counted = false;
    const std::optional<FistTiming> timing = measureFist(late, 60);
    QVERIFY(timing);
    QCOMPARE(timing->characters.size(), 1);
    QVERIFY(!timing->letterGap);
}

void FistTest::the_session_s_means_and_what_is_furthest_off()
{
    FistSession session;
    QVERIFY(!session.worst());
    // Short dashes throughout, and a long pause inside every K.
    Fist shortDashes{2};
    shortDashes.longGapIn = QLatin1Char('K');
    session.add(keyed(QStringLiteral("KMRS"), {}, 1), *measureFist(keyed(QStringLiteral("KMRS"), {}, 1), 60));
    for (int number = 2; number <= 3; ++number) {
        const GroupReview review = keyed(QStringLiteral("KMRS"), shortDashes, number);
        session.add(review, *measureFist(review, 60));
    }
    // A group's update replaces it.
    session.add(keyed(QStringLiteral("KMRS"), shortDashes, 3),
                *measureFist(keyed(QStringLiteral("KMRS"), shortDashes, 3), 60));
    QCOMPARE(session.groups(), 3);
    const auto dashes = session.spread(DashRatio);
    QVERIFY(dashes);
    QCOMPARE(dashes->groups, 3);
    QVERIFY(std::abs(dashes->mean - 7.0 / 3) < 0.01);
    QVERIFY(std::abs(dashes->deviation - 0.471) < 0.01);
    QCOMPARE(session.worst(), std::optional<int>(DashRatio));
    const QList<FistSession::CharacterFault> characters = session.furthestOff(3);
    QVERIFY(!characters.isEmpty());
    QCOMPARE(characters.first().character, QLatin1Char('K'));
    QCOMPARE(characters.first().measure, int(ElementGap));
    // Whatever letters a trainer sent, the CSV keeps its columns.
    GroupReview odd = keyed(QStringLiteral("AB"), {}, 4);
    odd.sent = QStringLiteral("A,\"B");
    session.add(odd, *measureFist(odd, 60));
    QVERIFY2(session.csv().contains(QLatin1String("\n4,\"A,\"\"B\",AB,straight,")), qPrintable(session.csv()));
}

void FistTest::played_back_as_keyed_then_as_it_should_sound()
{
    // "A" with a short dash, 1 ms a sample: as keyed, a word space of the
    // trainee's dot, then as it should be.
    GroupReview review{1, QStringLiteral("A"), {{QStringLiteral("RH"), true, {{500, 600}, {700, 920}}}}, 0};
    QCOMPARE(playBackSegments(review, 100, 1),
             std::vector<ToneSegment>(
                 {{true, 100}, {false, 100}, {true, 220}, {false, 700}, {true, 100}, {false, 100}, {true, 300}}));
    // The timeline drawn beneath it, from its first press.
    QCOMPARE(idealMarks(QStringLiteral("A"), 100, 500), QList<KeyedMark>({{500, 600}, {700, 1000}}));
}

QTEST_APPLESS_MAIN(FistTest)
#include "tst_keyer_fist.moc"
