// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QList>
#include <QStringView>

// What became of one sent character in the group keyed back, or a decoded
// character that stands for no sent one (an extra).
struct AlignedCharacter {
    QChar sent;  // null for an extra
    QChar taken; // what it was decoded as; null when it was dropped

    bool right() const { return taken == sent; }
    bool dropped() const { return taken.isNull(); }
    bool isExtra() const { return sent.isNull(); }
};

struct Alignment {
    QList<AlignedCharacter> characters; // in keying order, extras where they came
    int extra = 0;                      // how many of them are extras, blanks not counted
};

// Lines the decoded group up with the sent one by the fewest edits
// (Levenshtein), so that one character left out does not make every later
// one count as wrong. Where two alignments cost the same, a replacement is
// preferred to a drop plus an extra: two swapped characters are each taken
// for the other.
//
// A whole copy lines up the same way, its groups parted by single blanks: a
// blank only ever lines up with a blank, so a group left out costs its
// characters, and one split in two or run into the next costs a blank.
Alignment alignGroups(QStringView sent, QStringView decoded);
