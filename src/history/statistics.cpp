#include "history/statistics.h"

#include "common/alignment.h"

#include <QHash>

#include <algorithm>

CharacterTable characterStatistics(const QList<EchoGroupRecord> &groups)
{
    QHash<QChar, CharacterStatistics> byCharacter;
    CharacterTable table;
    for (const EchoGroupRecord &group : groups) {
        const Alignment alignment = alignGroups(group.sent, group.decoded);
        table.extra += alignment.extra;
        for (const AlignedCharacter &c : alignment.characters) {
            if (c.isExtra())
                continue;
            CharacterStatistics &entry = byCharacter[c.sent];
            entry.character = c.sent;
            ++entry.sent;
            if (c.right())
                ++entry.right;
            else if (c.dropped())
                ++entry.dropped;
            else
                ++entry.takenFor[c.taken];
        }
    }
    table.characters = byCharacter.values();
    std::sort(table.characters.begin(), table.characters.end(),
              [](const CharacterStatistics &a, const CharacterStatistics &b) {
                  // right/sent compared without division, so equal shares tie exactly.
                  const qint64 lhs = qint64(a.right) * b.sent;
                  const qint64 rhs = qint64(b.right) * a.sent;
                  if (lhs != rhs)
                      return lhs < rhs;
                  if (a.sent != b.sent)
                      return a.sent > b.sent;
                  return a.character < b.character;
              });
    return table;
}

QList<QChar> weakestCharacters(const CharacterTable &table, int count)
{
    QList<QChar> weakest;
    for (const CharacterStatistics &c : table.characters) {
        // Compared in whole numbers, so that 9 of 10 is exactly 90 %.
        if (weakest.size() >= count || qint64(100) * c.right >= qint64(weakBelowPercentRight) * c.sent)
            break;
        if (c.sent >= weakFromSent)
            weakest.append(c.character);
    }
    return weakest;
}

QList<DayProgress> dailyProgress(const QList<EchoGroupRecord> &groups, const QTimeZone &zone)
{
    QMap<QDate, DayProgress> days;
    QMap<QDate, qint64> speedSums;
    for (const EchoGroupRecord &group : groups) {
        const QDate day = group.when.toTimeZone(zone).date();
        DayProgress &progress = days[day];
        progress.day = day;
        ++progress.groups;
        speedSums[day] += group.speed;
        for (const AlignedCharacter &c : alignGroups(group.sent, group.decoded).characters) {
            if (c.isExtra())
                continue;
            ++progress.sentCharacters;
            if (c.right())
                ++progress.rightCharacters;
        }
    }
    QList<DayProgress> result = days.values();
    for (DayProgress &progress : result)
        progress.speed = double(speedSums[progress.day]) / progress.groups;
    return result;
}

QString takenForText(const CharacterStatistics &character)
{
    QList<std::pair<int, QString>> entries;
    for (auto it = character.takenFor.cbegin(); it != character.takenFor.cend(); ++it)
        entries.append({it.value(), QStringLiteral("%1 %2").arg(it.key()).arg(it.value())});
    if (character.dropped > 0)
        entries.append({character.dropped, QStringLiteral("kimaradt %1").arg(character.dropped)});
    std::stable_sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList texts;
    for (const auto &entry : entries)
        texts.append(entry.second);
    return texts.join(QStringLiteral(", "));
}

QString characterTableText(const CharacterTable &table)
{
    if (table.characters.isEmpty())
        return QStringLiteral("Még nincs visszaadott csoport.\n");
    QString text = QStringLiteral("Jel   Adva     Jó  Helyes  Mire vette\n");
    for (const CharacterStatistics &c : table.characters) {
        text += QStringLiteral("%1 %2 %3 %4 %  %5")
                    .arg(c.character, -3)
                    .arg(c.sent, 6)
                    .arg(c.right, 6)
                    .arg(qRound(100 * c.shareRight()), 5)
                    .arg(takenForText(c))
                    .trimmed()
                + QLatin1Char('\n');
    }
    text += QStringLiteral("Fölösleges jelek: %1\n").arg(table.extra);
    return text;
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
