// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/groupreview.h"

#include "common/alignment.h"
#include "common/frames.h"
#include "common/morsetable.h"

QString GroupReview::received() const
{
    QString text;
    for (const KeyedCharacter &c : keyed) {
        if (c.counted)
            text += characterOf(c.elements);
    }
    return text + QString(givenUp, QLatin1Char('#'));
}

QList<ReviewedCharacter> GroupReview::lineUp() const
{
    QString decoded;
    for (const KeyedCharacter &c : keyed)
        decoded += characterOf(c.elements);
    QList<ReviewedCharacter> places;
    qsizetype next = 0; // the keyed character the next taken one is
    // A frame's group and the Morse table's characters: never too long to
    // line up, each character one UTF-16 unit.
    const std::optional<Alignment> alignment = alignGroups(sent, decoded);
    for (const AlignedCharacter &a : alignment ? alignment->characters : QList<AlignedCharacter>()) {
        if (a.dropped()) {
            places.append({QChar(char16_t(a.sent)), QChar(), QString(), true});
            continue;
        }
        const KeyedCharacter &k = keyed[next++];
        places.append({QChar(char16_t(a.sent)), QChar(char16_t(a.taken)), k.elements, k.counted});
    }
    return places;
}

QString elementSigns(const QString &elements)
{
    QString signs = elements;
    signs.replace(QLatin1Char(KeyerText::dot), QChar(0x00B7)).replace(QLatin1Char(KeyerText::dash), QChar(0x2212));
    return signs;
}
