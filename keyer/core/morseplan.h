#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A stretch of the sidetone: on or off for a number of samples.
struct ToneSegment {
    bool tone = false;
    qint64 samples = 0;

    bool operator==(const ToneSegment &other) const = default;
};

// PARIS timing: a dot lasts 6000 / speed ms, so speed 60 gives 100 ms.
double dotMilliseconds(int speed);

// The sidetone of a group at `dotSamples` samples per dot: a dot is one dot
// of tone, a dash three, one dot of silence between the elements of a
// character and three between characters. A blank stretches the gap to the
// seven dots of a word space. Nothing is added before the first character or
// after the last, so the silence after a group is the pause alone; characters
// with no Morse code are left out and collected in `unknown`.
//
// Element edges fall on whole dots counted from the group's start, each
// rounded to the nearest sample, so durations never drift over a group.
std::vector<ToneSegment> groupSegments(QStringView group, double dotSamples, QString *unknown = nullptr);
