// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/copyscore.h"

#include <QMap>
#include <QRegularExpression>

QString normalisedCopy(const QString &typed)
{
    // Blanks by Unicode's definition: an em space or an ideographic space
    // parts groups as a plain one does.
    static const QRegularExpression blanks(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption);
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

    const char32_t blank = U' ';
    const std::optional<Alignment> alignment = alignGroups(sentGroups.join(QLatin1Char(' ')), score.result.copied);
    if (!alignment) {
        score.tooLong = true;
        return score;
    }
    score.result.extra = alignment->extra;
    // A sent blank ends a group; a copied one that stands for none splits a
    // group and belongs to none.
    QMap<std::pair<char32_t, char32_t>, int> counts;
    qsizetype group = 0;
    for (const AlignedCharacter &c : alignment->characters) {
        if (c.sent == blank) {
            group = qMin(group + 1, score.groups.size() - 1);
            continue;
        }
        if (c.taken == blank)
            continue;
        ScoredGroup &scored = score.groups[group];
        scored.characters.append(c);
        scored.copied.append(characterText(c.taken));
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
