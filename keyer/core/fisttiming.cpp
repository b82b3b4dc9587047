// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/fisttiming.h"

#include "common/frames.h"
#include "common/morsetable.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

double mean(const QList<double> &values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

std::optional<FistMeasure> measured(const QList<double> &lengths, double dotMs, double ideal)
{
    if (lengths.isEmpty())
        return std::nullopt;
    return FistMeasure{mean(lengths) / dotMs, ideal, fistTolerance * ideal};
}

// The characters keyed, each with its presses, and after which of them the
// group sent has a blank: there the gap is a word's. Its lengths in ms: its
// dots, its dashes, the gaps between its elements, and the gap after it
// (none after the last).
struct TimedCharacter {
    QChar character;
    QString elements;
    QList<KeyedMark> marks;
    bool wordFollows = false;
    QList<double> dots = {};
    QList<double> dashes = {};
    QList<double> gaps = {};
    std::optional<double> gapAfter = {};
};

QList<TimedCharacter> withLengths(QList<TimedCharacter> characters)
{
    for (qsizetype i = 0; i < characters.size(); ++i) {
        TimedCharacter &c = characters[i];
        for (qsizetype e = 0; e < c.marks.size(); ++e) {
            (c.elements[e] == QLatin1Char(KeyerText::dash) ? c.dashes : c.dots) << c.marks[e].to - c.marks[e].from;
            if (e > 0)
                c.gaps << c.marks[e].from - c.marks[e - 1].to;
        }
        if (i + 1 < characters.size())
            c.gapAfter = characters[i + 1].marks.first().from - c.marks.last().to;
    }
    return characters;
}

QList<TimedCharacter> timedCharacters(const GroupReview &review)
{
    QString elements;
    QList<KeyedMark> marks;
    QList<TimedCharacter> characters;
    for (const KeyedCharacter &k : review.keyed) {
        if (!k.counted)
            continue;
        if (k.elements.isEmpty() || k.marks.size() != k.elements.size())
            return {};
        characters.append({characterOf(k.elements), k.elements, k.marks});
        elements += k.elements;
        marks += k.marks;
    }
    QList<TimedCharacter> sent;
    QString sentElements;
    for (QChar c : review.sent) {
        if (c.isSpace()) {
            if (!sent.isEmpty())
                sent.last().wordFollows = true;
            continue;
        }
        sent.append({c, elementsOf(c), {}});
        sentElements += sent.last().elements;
        // A character with no Morse code was not played: the group sent is
        // not what was keyed back.
        if (sent.last().elements.isEmpty())
            return withLengths(characters);
    }
    if (sentElements != elements || characters.isEmpty())
        return withLengths(characters);
    qsizetype next = 0;
    for (TimedCharacter &c : sent) {
        c.marks = marks.mid(next, c.elements.size());
        next += c.elements.size();
    }
    return withLengths(sent);
}

// The characters' length, first press to last release, in the dots it
// should take.
double idealDots(const QList<TimedCharacter> &characters)
{
    double dots = 0;
    for (const TimedCharacter &c : characters) {
        for (QChar e : c.elements)
            dots += e == QLatin1Char(KeyerText::dash) ? 3 : 1;
        dots += double(c.elements.size() - 1) + (c.wordFollows ? 7 : 3);
    }
    return dots - (characters.last().wordFollows ? 7 : 3);
}

// A length's logarithm, a millisecond at least.
double logMs(double ms)
{
    return std::log(std::max(ms, 1.0));
}

// How the group's lengths change from its first character to its last: each
// dot, dash and gap is set against the others of its kind (a short dash
// stays a short dash), and a straight line is fitted by least squares
// through the logarithm of their lengths, by the place of their character.
// What the line shrinks by over the group is how much faster its end is.
// With the paddles only the gaps between characters are the trainee's.
std::optional<FistMeasure> speedChange(const QList<TimedCharacter> &characters, bool paddles)
{
    const qsizetype n = characters.size();
    if (n < 3)
        return std::nullopt;
    enum Kind { Dot, Dash, ElementGap, LetterGap, WordGap, KindCount };
    QList<std::pair<double, double>> samples[KindCount]; // (place, log length)
    for (qsizetype i = 0; i < n; ++i) {
        const TimedCharacter &c = characters[i];
        const auto take = [&samples, i](Kind kind, const QList<double> &lengths) {
            for (double length : lengths)
                samples[kind].append({double(i), logMs(length)});
        };
        if (!paddles) {
            take(Dot, c.dots);
            take(Dash, c.dashes);
            take(ElementGap, c.gaps);
        }
        if (c.gapAfter)
            take(c.wordFollows ? WordGap : LetterGap, {*c.gapAfter});
    }
    double covariance = 0;
    double variance = 0;
    for (const auto &kind : samples) {
        double place = 0;
        double length = 0;
        for (const auto &[x, y] : kind) {
            place += x / double(kind.size());
            length += y / double(kind.size());
        }
        for (const auto &[x, y] : kind) {
            covariance += (x - place) * (y - length);
            variance += (x - place) * (x - place);
        }
    }
    if (variance == 0)
        return std::nullopt;
    return FistMeasure{std::exp(-covariance / variance * double(n - 1)) - 1, 0, speedChangeTolerance};
}

} // namespace

QList<int> FistTiming::offMeasures() const
{
    QList<int> off;
    for (int index = 0; index < FistMeasureCount; ++index) {
        if (const auto measure = fistMeasure(*this, index); measure && measure->off())
            off << index;
    }
    return off;
}

std::optional<FistMeasure> fistMeasure(const FistTiming &timing, int index)
{
    switch (index) {
    case Speed:
        return timing.lettersPerMinute;
    case DashRatio:
        return timing.dashRatio;
    case ElementGap:
        return timing.elementGap;
    case LetterGap:
        return timing.letterGap;
    case WordGap:
        return timing.wordGap;
    case SpeedChange:
        return timing.speedChange;
    }
    return std::nullopt;
}

std::optional<FistTiming> measureFist(const GroupReview &review, int setLettersPerMinute)
{
    const QList<TimedCharacter> characters = timedCharacters(review);
    if (characters.isEmpty() || characters.last().marks.last().to <= characters.first().marks.first().from)
        return std::nullopt;

    FistTiming timing;
    QList<double> dots;
    QList<double> dashes;
    QList<double> elementGaps;
    QList<double> letterGaps;
    QList<double> wordGaps;
    for (const TimedCharacter &c : characters) {
        timing.paddles = timing.paddles
                         || std::any_of(c.marks.begin(), c.marks.end(), [](const KeyedMark &m) { return m.paddle; });
        dots += c.dots;
        dashes += c.dashes;
        elementGaps += c.gaps;
        if (c.gapAfter)
            (c.wordFollows ? wordGaps : letterGaps) << *c.gapAfter;
    }
    timing.dotMs = dots.isEmpty() ? mean(dashes) / 3 : mean(dots);

    const double lengthMs = characters.last().marks.last().to - characters.first().marks.first().from;
    const double groupDotMs = lengthMs / idealDots(characters);
    timing.lettersPerMinute
        = {dotMilliseconds(1) / groupDotMs, double(setLettersPerMinute), fistTolerance * setLettersPerMinute};
    if (!timing.paddles) {
        if (!dots.isEmpty())
            timing.dashRatio = measured(dashes, timing.dotMs, 3);
        timing.elementGap = measured(elementGaps, timing.dotMs, 1);
    }
    timing.letterGap = measured(letterGaps, timing.dotMs, 3);
    timing.wordGap = measured(wordGaps, timing.dotMs, 7);
    timing.speedChange = speedChange(characters, timing.paddles);

    for (const TimedCharacter &c : characters) {
        CharacterTiming character{c.character, {}, {}};
        if (!timing.paddles) {
            if (!dots.isEmpty())
                character.dash = measured(c.dashes, timing.dotMs, 3);
            character.elementGap = measured(c.gaps, timing.dotMs, 1);
        }
        timing.characters << character;
    }
    return timing;
}

QList<KeyedMark> countedMarks(const GroupReview &review)
{
    QList<KeyedMark> marks;
    for (const KeyedCharacter &k : review.keyed) {
        if (k.counted)
            marks += k.marks;
    }
    return marks;
}

QString countedCharacters(const GroupReview &review)
{
    QString characters;
    for (const KeyedCharacter &k : review.keyed) {
        if (k.counted)
            characters += characterOf(k.elements);
    }
    return characters;
}

QList<KeyedMark> idealMarks(const QString &sent, double dotMs, double startMs)
{
    // In microseconds, so that rounding to whole samples loses nothing seen.
    constexpr double perMs = 1000;
    QList<KeyedMark> marks;
    double at = startMs;
    for (const ToneSegment &segment : groupSegments(sent, dotMs * perMs)) {
        const double to = at + double(segment.samples) / perMs;
        if (segment.tone)
            marks.append({at, to, false});
        at = to;
    }
    return marks;
}

std::vector<ToneSegment> marksAsSegments(const QList<KeyedMark> &marks, double samplesPerMs)
{
    std::vector<ToneSegment> segments;
    if (marks.isEmpty())
        return segments;
    const double start = marks.first().from;
    qint64 written = 0;
    const auto until = [&](double ms, bool tone) {
        const qint64 end = std::llround((ms - start) * samplesPerMs);
        if (end > written)
            segments.push_back({tone, end - written});
        written = std::max(written, end);
    };
    for (const KeyedMark &mark : marks) {
        until(mark.from, false);
        until(mark.to, true);
    }
    return segments;
}

std::vector<ToneSegment> playBackSegments(const GroupReview &review, double dotMs, double samplesPerMs)
{
    std::vector<ToneSegment> segments = marksAsSegments(countedMarks(review), samplesPerMs);
    segments.push_back({false, std::llround(7 * dotMs * samplesPerMs)});
    for (const ToneSegment &s : groupSegments(countedCharacters(review), dotMs * samplesPerMs))
        segments.push_back(s);
    return segments;
}
