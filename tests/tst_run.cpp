// SPDX-License-Identifier: GPL-3.0-or-later
// A run without a window: the draw, the scoring and the counters.

#include "alphabet/alphabet.h"
#include "common/morsetable.h"
#include "runs/run.h"

#include <QTest>

#include <memory>

class RunTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void draws_evenly_from_the_selection();
    void a_new_group_length_scores_afresh();
    void group_numbers_stop_at_the_16_bit_limit();
    void a_copy_run_keeps_the_band_most_of_its_groups_had();

private:
    // Keys characters back, element by element, each with its character end.
    Run::CharacterEnd keyBack(const QString &characters);

    Alphabet alphabet;
    std::unique_ptr<Run> run;
};

void RunTest::init()
{
    alphabet.betutar();
    run = std::make_unique<Run>(alphabet);
    run->setParameters(Parameters{});
}

Run::CharacterEnd RunTest::keyBack(const QString &characters)
{
    Run::CharacterEnd end;
    for (QChar character : characters) {
        for (QChar element : elementsOf(character))
            run->takeElement(element);
        end = run->takeCharacterEnd();
    }
    return end;
}

void RunTest::draws_evenly_from_the_selection()
{
    for (int n : {1, 2, 47})
        run->setSlot(n, slotCharacter(n));
    run->changeGroupsize(15);
    QString drawn;
    for (int g = 0; g < 20; ++g) {
        QCOMPARE(run->drawGroup(), run->txgroup());
        drawn += run->txgroup();
    }
    // 300 letters, about 100 of each: far from what a skewed draw gives.
    QCOMPARE(drawn.size(), 300);
    for (QChar c : {u'T', u'E', u'@'})
        QVERIFY2(drawn.count(c) > 60, qPrintable(drawn));
}

void RunTest::a_new_group_length_scores_afresh()
{
    run->setSlot(2, QLatin1Char('E'));
    run->startEchoRun();
    run->drawGroup();
    keyBack(QStringLiteral("EEEET")); // scored bad, as tst_keyerlink's echo run checks
    keyBack(QStringLiteral("EE"));

    // The counts start at 0 and the group is scored after three more
    // characters; the two keyed before stay in rxgroup.
    run->changeGroupsize(3);
    QCOMPARE(run->badgroups(), qint16(0));
    run->drawGroup();
    QVERIFY(!keyBack(QStringLiteral("EE")).groupScored);
    const Run::CharacterEnd scored = keyBack(QStringLiteral("E"));
    QVERIFY(scored.groupScored);
    QCOMPARE(scored.sent + '>' + scored.decoded, QStringLiteral("EEE>EEEEE"));
    QCOMPARE(run->badgroups(), qint16(1));
    QCOMPARE(run->goodgroups(), qint16(0));
}

void RunTest::group_numbers_stop_at_the_16_bit_limit()
{
    run->setSlot(1, QLatin1Char('T'));
    run->startCopyRun(1);
    for (int g = 1; g < 32767; ++g)
        run->drawGroup();
    QCOMPARE(run->groupindex(), qint16(32767));
    run->drawGroup();
    QCOMPARE(run->groupindex(), qint16(32767));
    // Every group was sent; groups 1 to 250 are in the record.
    QCOMPARE(run->txgroup(), QStringLiteral("TTTTT"));
    QCOMPARE(run->sentGroups(), QStringList(250, QStringLiteral("TTTTT") + QString(10, QLatin1Char(' '))));
}

void RunTest::a_copy_run_keeps_the_band_most_of_its_groups_had()
{
    run->setSlot(1, QLatin1Char('T'));
    const auto playCopyRun = [this](const QList<std::optional<BandConditions>> &bands) {
        run->startCopyRun(qint16(bands.size()));
        for (const std::optional<BandConditions> &band : bands) {
            run->drawGroup();
            run->setGroupConditions(band);
        }
        return run->takeEndedCopyRun();
    };
    const auto weak = BandConditions::fromText(u"filter=500 snr=3");
    const auto ended = playCopyRun({weak, BandConditions(), weak});
    QVERIFY(ended && weak);
    QCOMPARE(ended->conditions, weak);
    // Of two as many, the one heard first; a band not known counts as one.
    const auto tied = playCopyRun({std::nullopt, BandConditions(), std::nullopt, BandConditions()});
    QVERIFY(tied);
    QCOMPARE(tied->conditions, std::nullopt);
}

QTEST_APPLESS_MAIN(RunTest)
#include "tst_run.moc"
