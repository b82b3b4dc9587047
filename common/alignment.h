// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// What became of one sent character in the group keyed back, or a decoded
// character that stands for no sent one (an extra). Characters are whole
// code points: an emoji typed into a copy is one character, not two halves;
// half of one, or a NUL, is lined up as U+FFFD.
struct AlignedCharacter {
    char32_t sent = 0; // 0 for an extra
    char32_t taken = 0; // what it was decoded as; 0 when it was dropped

    bool right() const { return taken == sent; }
    bool dropped() const { return taken == 0; }
    bool isExtra() const { return sent == 0; }
};

struct Alignment {
    QList<AlignedCharacter> characters; // in keying order, extras where they came
    int extra = 0; // how many of them are extras, blanks not counted
};

// The most characters either side may have, and the most pairs of one sent
// and one decoded character, that alignGroups() lines up: a copy of 250
// groups of 15 against four times its length takes 16 MB and a fraction of
// a second; anything beyond is refused rather than left to run out of
// memory.
constexpr qsizetype alignableCharacters = 1 << 16;
constexpr qsizetype alignablePairs = qsizetype(1) << 26;

// Lines the decoded group up with the sent one by the fewest edits
// (Levenshtein), so that one character left out does not make every later
// one count as wrong. Where two alignments cost the same, a replacement is
// preferred to a drop plus an extra: two swapped characters are each taken
// for the other. Nothing when the two are beyond the bounds above.
//
// A whole copy lines up the same way, its groups parted by single blanks: a
// blank only ever lines up with a blank, so a group left out costs its
// characters, and one split in two or run into the next costs a blank.
std::optional<Alignment> alignGroups(QStringView sent, QStringView decoded);

// One code point as text; nothing for 0.
inline QString characterText(char32_t c)
{
    return c == 0 ? QString() : QString::fromUcs4(&c, 1);
}
