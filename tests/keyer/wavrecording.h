// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

// A keyer's --wav recording, read back for the tests.
struct WavRecording {
    int sampleRate = 0;
    std::vector<qint16> samples;
};

// An empty recording (sampleRate 0) when the file is no 16-bit mono WAV or
// its header's sizes disagree with the file.
WavRecording readWav(const QString &path);

// A stretch of tone: the samples from the first above the threshold to the
// last, with no silence in it longer than `maxDip` samples.
struct ToneRun {
    qint64 start = 0;
    qint64 end = 0; // one past the last sample above the threshold
    qint64 length() const { return end - start; }
};
std::vector<ToneRun> toneRuns(const WavRecording &wav, int threshold, qint64 maxDip);
