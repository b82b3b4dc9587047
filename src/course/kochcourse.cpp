// SPDX-License-Identifier: GPL-3.0-or-later
#include "course/kochcourse.h"

#include "common/codepage.h"
#include "settings/settingsfile.h"

#include <QHash>

#include <algorithm>

QString kochOrder()
{
    return QStringLiteral("KMURESNAPTLWI.JZ=FOYVG5/Q92H38B?47C1D60XÁÉÖÜ:-@");
}

QString lessonCharacters(int lesson)
{
    return kochOrder().left(qBound(firstLesson, lesson, lastLesson) + 1);
}

int lessonOfSelection(const QString &selectionLine)
{
    QString selected;
    for (QChar c : selectionLine) {
        if (isSelectedSlot(c))
            selected += c;
    }
    for (int lesson = firstLesson; lesson <= lastLesson; ++lesson) {
        const QString characters = lessonCharacters(lesson);
        if (characters.size() == selected.size()
            && std::all_of(selected.cbegin(), selected.cend(), [&](QChar c) { return characters.contains(c); }))
            return lesson;
    }
    return 0;
}

QString lessonSelectionLine(int lesson)
{
    const QString characters = lessonCharacters(lesson);
    std::array<QChar, 51> charslots;
    charslots.fill(QLatin1Char(' '));
    for (int slot = 1; slot <= slotCount; ++slot) {
        if (characters.contains(slotCharacter(slot)))
            charslots[slot] = slotCharacter(slot);
    }
    return selectionLine(charslots);
}

LessonStanding lessonStanding(int lesson, const History &history, int percentRight, int minimumSamples)
{
    LessonStanding standing{lesson, {}, false};
    const QString characters = lessonCharacters(lesson);
    QHash<char32_t, LessonCharacter> counts;
    QList<CopyRunRecord> runs;
    history.forEachScoredCopyRun({}, [&runs](const CopyRunRecord &run) { runs.append(run); });
    // Newest first; a character takes no more runs once it has enough.
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        QHash<char32_t, LessonCharacter> fromRun;
        for (const CopyCharacterCount &c : run->result->characters) {
            if (counts[c.sent].copied >= recentSamples)
                continue;
            LessonCharacter &entry = fromRun[c.sent];
            entry.copied += c.count;
            if (c.taken == c.sent)
                entry.right += c.count;
        }
        for (auto it = fromRun.cbegin(); it != fromRun.cend(); ++it) {
            counts[it.key()].copied += it->copied;
            counts[it.key()].right += it->right;
        }
    }
    standing.passed = true;
    for (auto c = characters.crbegin(); c != characters.crend(); ++c) {
        LessonCharacter entry = counts.value(c->unicode());
        entry.character = *c;
        // In whole numbers, so that 9 of 10 is exactly 90 %.
        entry.passed
            = entry.copied >= minimumSamples && qint64(100) * entry.right >= qint64(percentRight) * entry.copied;
        standing.passed = standing.passed && entry.passed;
        standing.characters.append(entry);
    }
    return standing;
}

QByteArray settingsWithSelection(const QByteArray &file, const QString &selectionLine)
{
    // The line end as it was, and all after it: CR LF, or an editor's LF or
    // CR alone (the trainer reads all three).
    const qsizetype lineFeed = file.indexOf('\n');
    const qsizetype carriageReturn = file.indexOf('\r');
    const qsizetype lineEnd
        = carriageReturn >= 0 && (lineFeed < 0 || carriageReturn < lineFeed) ? carriageReturn : lineFeed;
    if (lineEnd < 0)
        return settingsFileBytes(
            selectionLine, {QStringLiteral(" 60"), QStringLiteral(" 5"), QStringLiteral(" 30"), QStringLiteral(" 50")});
    return toCodePage1250(selectionLine) + file.mid(lineEnd);
}

QString ordinalWithArticle(int number)
{
    // "az" where the number's name begins with a vowel: egy (1), öt (5),
    // ötven (50-59), ötszáz (500-599), ezer (1000-1999), ötezer (5000-5999).
    const QString digits = QString::number(number);
    const bool vowel = number == 1 || (digits.startsWith(QLatin1Char('5')) && digits.size() <= 4)
                       || (digits.size() == 4 && digits.startsWith(QLatin1Char('1')));
    return QStringLiteral("%1 %2.").arg(vowel ? QStringLiteral("az") : QStringLiteral("a")).arg(number);
}
