// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/copyscore.h"

#include <QMap>
#include <QRegularExpression>

QString normalisedCopy(const QString &typed)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return typed.toUpper().split(blanks, Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

CopyScore scoreCopy(const QStringList &sentGroups, const QString &typed)
{
    CopyScore score;
    score.result.copied = normalisedCopy(typed);
    for (const QString &group : sentGroups)
        score.groups.append({group, {}, {}});
    if (score.groups.isEmpty())
        return score;

    const QChar blank(QLatin1Char(' '));
    const Alignment alignment = alignGroups(sentGroups.join(blank), score.result.copied);
    score.result.extra = alignment.extra;
    // A sent blank ends a group; a copied one that stands for none splits a
    // group and belongs to none.
    QMap<std::pair<QChar, QChar>, int> counts;
    qsizetype group = 0;
    for (const AlignedCharacter &c : alignment.characters) {
        if (c.sent == blank) {
            group = qMin(group + 1, score.groups.size() - 1);
            continue;
        }
        if (c.taken == blank)
            continue;
        ScoredGroup &scored = score.groups[group];
        scored.characters.append(c);
        if (!c.taken.isNull())
            scored.copied.append(c.taken);
        if (c.isExtra())
            continue;
        ++counts[{c.sent, c.taken}];
        ++score.sentCharacters;
        if (c.right())
            ++score.rightCharacters;
    }
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        score.result.characters.append({it.key().first, it.key().second, it.value()});
    return score;
}
