// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/groupreview.h"
#include "core/morseplan.h"

#include <QChar>
#include <QList>
#include <QString>

#include <cmath>
#include <optional>
#include <vector>

// How far a length may stray from its ideal before it is pointed out: a
// fifth, which a listener hears and a steady fist stays well inside; and how
// much a group may speed up or slow down from its start to its end.
constexpr double fistTolerance = 0.2;
constexpr double speedChangeTolerance = 0.15;

// One measure of a keyed group against what is right, and how far off it
// may be.
struct FistMeasure {
    double keyed = 0;
    double ideal = 0;
    double allowed = 0;

    bool off() const { return std::abs(keyed - ideal) > allowed; }
};

// The timing of one character keyed in a group, in the group's dots.
struct CharacterTiming {
    QChar character;
    std::optional<FistMeasure> dash; // its dashes' mean length: 3
    std::optional<FistMeasure> elementGap; // its gaps between elements: 1
};

// The timing of an echo group keyed back, measured on the presses of the
// characters the trainer counted. Where their elements are the group's, one
// for one, the characters are the group's too: a trainee who runs two
// letters together into one that was read wrong is told so.
//
// Lengths are in the trainee's own dots: the mean of the dots keyed (a
// third of the dashes' where the group has no dot), so a fist keyed evenly
// slower or faster than set is right. With the paddles the elements and the
// gaps inside a character are the paddles' own: only the gaps between
// characters and words, and the speed, are the trainee's.
struct FistTiming {
    bool paddles = false;
    double dotMs = 0; // the trainee's dot in this group
    FistMeasure lettersPerMinute; // over the group's length, PARIS: a dot of 100 ms is 60
    std::optional<FistMeasure> dashRatio; // a dash in dots: 3
    std::optional<FistMeasure> elementGap; // inside characters: 1
    std::optional<FistMeasure> letterGap; // between characters: 3
    std::optional<FistMeasure> wordGap; // where the group has a blank: 7
    // The speed at the group's end against its start, on a line through
    // each character's: 0.2 is a fifth faster at the end; 0 is right.
    std::optional<FistMeasure> speedChange;
    QList<CharacterTiming> characters;

    // The measures that are off, as named in `measureNames`.
    QList<int> offMeasures() const;
};

// The measures of a group by number, for the session and the CSV.
enum FistMeasureIndex { Speed, DashRatio, ElementGap, LetterGap, WordGap, SpeedChange, FistMeasureCount };
std::optional<FistMeasure> fistMeasure(const FistTiming &timing, int index);

// The timing of a review's counted characters, keyed at the set speed
// `setLettersPerMinute`; none when they were not timed or nothing was keyed.
std::optional<FistTiming> measureFist(const GroupReview &review, int setLettersPerMinute);

// The presses of a review's counted characters, one after another, and the
// characters they were taken for.
QList<KeyedMark> countedMarks(const GroupReview &review);
QString countedCharacters(const GroupReview &review);

// The characters sent, played as they should sound at `dotMs`, as marks from
// `startMs`: the timeline a keyed group is drawn against.
QList<KeyedMark> idealMarks(const QString &sent, double dotMs, double startMs);

// Marks as tone segments at `samplesPerMs`, from the first press.
std::vector<ToneSegment> marksAsSegments(const QList<KeyedMark> &marks, double samplesPerMs);

// A group heard back: as it was keyed, a word space of the trainee's own,
// then as it should sound at the trainee's dot, `dotMs`.
std::vector<ToneSegment> playBackSegments(const GroupReview &review, double dotMs, double samplesPerMs);
