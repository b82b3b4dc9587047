// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/statistics.h"

#include "common/alignment.h"

#include <QHash>

#include <algorithm>
#include <cmath>

void CharacterScore::add(char32_t taken, char32_t sentCharacter, int count)
{
    sent += count;
    if (taken == sentCharacter)
        right += count;
    else if (taken == 0)
        dropped += count;
    else
        takenFor[taken] += count;
}

namespace {

// The day of a time in `zone`, for times that come in order: the bounds of
// the last day are kept, so that the zone is asked once a day, not once a
// group.
class DayFinder
{
public:
    explicit DayFinder(const QTimeZone &zone)
        : m_zone(zone)
    { }

    QDate dayOf(const QDateTime &when)
    {
        const qint64 ms = when.toMSecsSinceEpoch();
        if (!m_day.isValid() || ms < m_start || ms >= m_end) {
            m_day = when.toTimeZone(m_zone).date();
            m_start = QDateTime(m_day, QTime(0, 0), m_zone).toMSecsSinceEpoch();
            m_end = QDateTime(m_day.addDays(1), QTime(0, 0), m_zone).toMSecsSinceEpoch();
        }
        return m_day;
    }

private:
    QTimeZone m_zone;
    QDate m_day;
    qint64 m_start = 0;
    qint64 m_end = 0;
};

// The longest step's name, "nem ismert (hardveres billentyűző)".
constexpr int noiseNameWidth = 34;

// One half of a text table's row: how many were sent, how many right and
// the share right; dashes when none was sent.
QString countsText(int sent, int right)
{
    if (sent == 0)
        return QStringLiteral("%1 %2 %3  ")
            .arg(QStringLiteral("–"), 6)
            .arg(QStringLiteral("–"), 6)
            .arg(QStringLiteral("–"), 5);
    return QStringLiteral("%1 %2 %3 %").arg(sent, 6).arg(right, 6).arg(qRound(100.0 * right / sent), 5);
}

} // namespace

TrainingStatistics trainingStatistics(const History &history, const QDateTime &since, bool byDay, const QTimeZone &zone)
{
    QHash<char32_t, CharacterStatistics> byCharacter;
    QMap<QDate, DayProgress> days;
    DayFinder finder(zone);
    TrainingStatistics statistics;
    const auto entry = [&byCharacter](char32_t c) -> CharacterStatistics & {
        CharacterStatistics &e = byCharacter[c];
        e.character = c;
        return e;
    };

    history.forEachEchoGroup(since, [&](const EchoGroupRecord &group) {
        if (group.sent.size() > longestCountedGroup || group.decoded.size() > longestCountedGroup) {
            ++statistics.skippedGroups;
            return;
        }
        DayProgress *day = byDay ? &days[finder.dayOf(group.when)] : nullptr;
        const auto count = [&](char32_t sent, char32_t taken) {
            entry(sent).keyed.add(taken, sent, 1);
            if (day)
                day->keyed.add(taken, sent, 1);
        };
        // Most groups come back right, and need no lining up.
        if (group.sent == group.decoded) {
            for (char32_t c : group.sent.toUcs4())
                count(c, c);
        } else {
            // Never refused, groups being as short as they are here.
            const Alignment alignment = *alignGroups(group.sent, group.decoded);
            for (const AlignedCharacter &c : alignment.characters) {
                if (!c.isExtra())
                    count(c.sent, c.taken);
            }
            statistics.table.extraKeyed += alignment.extra;
        }
        if (day) {
            ++day->echoGroups;
            day->speedSum += group.speed;
        }
        NoiseScore &noise = statistics.byNoise[size_t(noiseStep(group.conditions))];
        ++noise.echoGroups;
        noise.goodEchoGroups += group.good ? 1 : 0;
    });

    history.forEachScoredCopyRun(since, [&](const CopyRunRecord &run) {
        DayProgress *day = byDay ? &days[finder.dayOf(run.when)] : nullptr;
        NoiseScore &noise = statistics.byNoise[size_t(noiseStep(run.conditions))];
        for (const CopyCharacterCount &c : run.result->characters) {
            noise.copiedSent += c.count;
            noise.copiedRight += c.taken == c.sent ? c.count : 0;
            entry(c.sent).copied.add(c.taken, c.sent, c.count);
            if (day)
                day->copied.add(c.taken, c.sent, c.count);
        }
        statistics.table.extraCopied += run.result->extra;
        if (day) {
            day->copiedGroups += int(run.groups.size());
            day->speedSum += qint64(run.speed) * run.groups.size();
        }
    });

    for (auto it = days.begin(); it != days.end(); ++it) {
        it->day = it.key();
        statistics.days.append(*it);
    }
    QList<CharacterStatistics> &characters = statistics.table.characters;
    characters = byCharacter.values();
    std::sort(characters.begin(), characters.end(), [](const CharacterStatistics &a, const CharacterStatistics &b) {
        // right/sent compared without division, so equal shares tie exactly.
        const qint64 lhs = qint64(a.right()) * b.sent();
        const qint64 rhs = qint64(b.right()) * a.sent();
        if (lhs != rhs)
            return lhs < rhs;
        if (a.sent() != b.sent())
            return a.sent() > b.sent();
        return a.character < b.character;
    });
    return statistics;
}

NoiseStep noiseStep(const std::optional<BandConditions> &conditions)
{
    if (!conditions)
        return NoiseStep::NotKnown;
    if (!conditions->snrDb)
        return NoiseStep::NoNoise;
    const double snr = *conditions->snrDb;
    if (snr < -5)
        return NoiseStep::BelowMinus5;
    // From +20 dB up one step; below it one for each 5 dB begun.
    const int below20 = int(std::ceil((20 - snr) / 5));
    return NoiseStep(int(NoiseStep::From20) + std::clamp(below20, 0, 5));
}

QString noiseStepName(NoiseStep step)
{
    switch (step) {
    case NoiseStep::NoNoise:
        return QStringLiteral("zaj nélkül");
    case NoiseStep::From20:
        return QStringLiteral("+20 dB és fölötte");
    case NoiseStep::BelowMinus5:
        return QStringLiteral("-5 dB alatt");
    case NoiseStep::NotKnown:
        return QStringLiteral("nem ismert (hardveres billentyűző)");
    default: {
        const int top = 20 - 5 * (int(step) - int(NoiseStep::From20) - 1);
        const auto signedDb = [](int db) {
            return db > 0 ? QStringLiteral("+%1").arg(db) : QString::number(db);
        };
        return QStringLiteral("%1 és %2 dB között").arg(signedDb(top - 5), signedDb(top));
    }
    }
}

QList<char32_t> weakestCharacters(const CharacterTable &table, int count)
{
    QList<char32_t> weakest;
    for (const CharacterStatistics &c : table.characters) {
        // Compared in whole numbers, so that 9 of 10 is exactly 90 %.
        if (weakest.size() >= count || qint64(100) * c.right() >= qint64(weakBelowPercentRight) * c.sent())
            break;
        if (c.sent() >= weakFromSent)
            weakest.append(c.character);
    }
    return weakest;
}

QString takenForText(const CharacterScore &score)
{
    QList<std::pair<int, QString>> entries;
    for (auto it = score.takenFor.cbegin(); it != score.takenFor.cend(); ++it)
        entries.append({it.value(), QStringLiteral("%1 %2").arg(characterText(it.key())).arg(it.value())});
    if (score.dropped > 0)
        entries.append({score.dropped, QStringLiteral("kimaradt %1").arg(score.dropped)});
    std::stable_sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList texts;
    for (const auto &entry : entries)
        texts.append(entry.second);
    return texts.join(QStringLiteral(", "));
}

QString takenForText(const CharacterStatistics &character)
{
    QStringList halves;
    if (!character.keyed.takenFor.isEmpty() || character.keyed.dropped > 0)
        halves << QStringLiteral("adás: %1").arg(takenForText(character.keyed));
    if (!character.copied.takenFor.isEmpty() || character.copied.dropped > 0)
        halves << QStringLiteral("vétel: %1").arg(takenForText(character.copied));
    return halves.join(QStringLiteral("; "));
}

QString characterTableText(const CharacterTable &table)
{
    if (table.characters.isEmpty())
        return QStringLiteral("Még nincs visszaadott csoport és pontozott másolás.\n");
    // Sending (keyed back) and receiving (copied) side by side.
    const auto half = [](const CharacterScore &score) {
        return countsText(score.sent, score.right);
    };
    QString text = QStringLiteral("      ---- adás (visszaadva) -  ---- vétel (másolva) --\n"
                                  "Jel   Adva     Jó  Helyes    Adva     Jó  Helyes  Mire vette\n");
    for (const CharacterStatistics &c : table.characters) {
        text += QStringLiteral("%1 %2  %3  %4")
                    .arg(characterText(c.character), -3)
                    .arg(half(c.keyed), half(c.copied), takenForText(c))
                    .trimmed()
                + QLatin1Char('\n');
    }
    text
        += QStringLiteral("Fölösleges jelek: %1 visszaadva, %2 másolva\n").arg(table.extraKeyed).arg(table.extraCopied);
    return text;
}

QString noiseTableText(const NoiseTable &table)
{
    QString rows;
    for (int step = 0; step < noiseStepCount; ++step) {
        const NoiseScore &score = table[size_t(step)];
        if (!score.empty())
            rows += QStringLiteral("%1 %2  %3")
                        .arg(noiseStepName(NoiseStep(step)), -noiseNameWidth)
                        .arg(countsText(score.echoGroups, score.goodEchoGroups),
                             countsText(score.copiedSent, score.copiedRight))
                        .trimmed()
                    + QLatin1Char('\n');
    }
    if (rows.isEmpty())
        return {};
    // Each half's title over its three columns, as the rows line them up.
    return QStringLiteral("\nVétel a sáv zaja szerint (jel/zaj viszony a szűrőben):\n")
           + QStringLiteral("%1 %2  %3\n")
                 .arg(QString(), -noiseNameWidth)
                 .arg(QStringLiteral("- oda-vissza: csoport"), QStringLiteral("--- másolás: jel ----"))
           + QStringLiteral("%1 %2  %2\n")
                 .arg(QStringLiteral("Jel/zaj"), -noiseNameWidth)
                 .arg(QStringLiteral("  Adva     Jó  Helyes"))
           + rows;
}

QString skippedGroupsText(int skippedGroups)
{
    if (skippedGroups == 0)
        return {};
    return QStringLiteral("Kimaradt a statisztikából %1 oda-vissza csoport, mert %2 jelnél hosszabb.\n")
        .arg(skippedGroups)
        .arg(longestCountedGroup);
}

QString lostRecordsText(const QList<LostRecords> &lost, const QDateTime &since, const QTimeZone &zone)
{
    QString text;
    for (const LostRecords &session : lost) {
        if (since.isValid() && session.session < since)
            continue;
        QStringList what;
        if (session.echoGroups > 0)
            what << QStringLiteral("%1 oda-vissza csoport").arg(session.echoGroups);
        if (session.copyRuns > 0)
            what << QStringLiteral("%1 másolás").arg(session.copyRuns);
        text += QStringLiteral("A %1-kor kezdett gyakorlásból %2 nem került az előzménybe.\n")
                    .arg(session.session.toTimeZone(zone).toString(QStringLiteral("yyyy.MM.dd. HH:mm")),
                         what.join(QStringLiteral(" és ")));
    }
    return text;
}
