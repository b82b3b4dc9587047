// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A stretch of the sidetone: on or off for a number of samples, and heard
// through the band's conditions (a group the keyer plays) or clean.
struct ToneSegment {
    bool tone = false;
    qint64 samples = 0;
    bool band = false;

    bool operator==(const ToneSegment &other) const = default;
};

// PARIS timing: a dot lasts 6000 / speed ms, so speed 60 gives 100 ms.
double dotMilliseconds(int speed);

// The silences between characters and between words, in dots.
struct Spacing {
    double characterGap = 3;
    double wordGap = 7;
};

// Farnsworth spacing (J. Bloom, QEX 1990; adopted by the ARRL): characters at
// `characterSpeed`, the gaps stretched so that PARIS and a word space take
// the time of `overallSpeed`, both in letters per minute. At character speed
// c the word takes 50 c / s dots instead of 50; its 31 dots of characters
// stay, and the 19 of spacing become 50 c / s - 31, 3/19 of them each gap
// between characters and 7/19 the word space. Plain spacing when c is not
// above s.
Spacing farnsworthSpacing(int characterSpeed, int overallSpeed);

// The sidetone of a group at `dotSamples` samples per dot: a dot is one dot
// of tone, a dash three, one dot of silence between the elements of a
// character and `spacing` between characters. A blank stretches the gap to
// a word space. Nothing is added before the first character or
// after the last, so the silence after a group is the pause alone; characters
// with no Morse code are left out and collected in `unknown`.
//
// Element edges fall on whole dots counted from the group's start, each
// rounded to the nearest sample, so durations never drift over a group.
std::vector<ToneSegment> groupSegments(QStringView group, double dotSamples, QString *unknown = nullptr,
                                       Spacing spacing = {});
