// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QList>
#include <QString>

// A press the keying classifier took for one element: when the key went
// down and came up, in ms on the key's clock.
struct KeyedMark {
    double from = 0;
    double to = 0;
    bool paddle = false; // keyed by the paddles, which time the element themselves

    bool operator==(const KeyedMark &other) const = default;
};

// One character keyed back: its elements ("R" short, "H" long) and whether
// the trainer got it. A character keyed after the group was complete, before
// the next one began to sound, belongs to no group and is not reported.
// `marks` holds its elements' presses, one each, or nothing where they were
// not timed.
struct KeyedCharacter {
    QString elements;
    bool counted = true;
    QList<KeyedMark> marks = {};
};

// One place of a group lined up with what was keyed back.
struct ReviewedCharacter {
    QChar sent; // null: an extra character
    QChar keyed; // null: left out; "#": its elements are no Morse character
    QString keyedElements;
    bool counted = true;

    bool right() const { return sent == keyed; }
};

// An echo group as the trainee keyed it back, for showing what was wrong.
struct GroupReview {
    int number = 0; // counts the groups of the keyer's life, to tell updates of one from the next
    QString sent;
    QList<KeyedCharacter> keyed;
    int givenUp = 0; // characters left out that the keyer ended after the trainee's silence

    // What the trainer reads: the counted characters, then "#" for each given up.
    QString received() const;
    bool right() const { return received() == sent; }
    // Sent and keyed lined up by the fewest edits, so that a character left
    // out is missing there and one keyed twice an extra.
    QList<ReviewedCharacter> lineUp() const;
};

// "·−" for "RH".
QString elementSigns(const QString &elements);
