#pragma once

#include <QChar>
#include <QList>
#include <QStringView>

// What became of one sent character in the group keyed back.
struct AlignedCharacter {
    QChar sent;
    QChar taken; // what it was decoded as; null when it was dropped

    bool right() const { return taken == sent; }
    bool dropped() const { return taken.isNull(); }
};

struct Alignment {
    QList<AlignedCharacter> characters; // one per sent character, in order
    int extra = 0;                      // decoded characters that stand for no sent one
};

// Lines the decoded group up with the sent one by the fewest edits
// (Levenshtein), so that one character left out does not make every later
// one count as wrong. Where two alignments cost the same, a replacement is
// preferred to a drop plus an extra: two swapped characters are each taken
// for the other.
Alignment alignGroups(QStringView sent, QStringView decoded);
