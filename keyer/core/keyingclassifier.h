// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>

// One report to the trainer: 'R' a short element, 'H' a long one, 'V' the end
// of a character; `at` is when it became due, in the caller's time. An
// element's report also holds when its press began and ended.
struct KeyReport {
    char letter = 0;
    double at = 0;
    double from = 0;
    double to = 0;

    bool operator==(const KeyReport &other) const = default;
};

// Turns the presses and releases of a straight key into reports, learning
// the trainee's own rhythm as they key.
//
// It keeps one fast estimate, the trainee's dot, and three slow ones, the
// trainee's dash, element gap and letter gap as multiples of that dot. The
// dot starts at the set speed's and follows every element keyed (a dash
// counts as one dot-measure, through the learnt dash ratio) but stays within
// three times the set speed's either way, so a change of speed is followed
// within a character or two, while the shape of the fist
// (long dashes, drawn-out letter gaps) is learnt over a few groups. A press
// is long above the dot times the root of the dash ratio (a little less:
// dashes spread three times as wide as dots), and a character is over after
// the same kind of limit between element gap and letter gap.
//
// An element is reported a fifth of a dot after the key comes up: a press
// back down before that is a bounce and the element goes on; a press shorter
// than that is a spike and is forgotten.
//
// Time is whatever clock and unit the caller keeps, and must not go
// backwards; the estimates and limits come out in the same unit. The key
// input keeps milliseconds (the names ending in "Ms" are its view), the
// auto-echo planner samples.
class KeyingClassifier
{
public:
    explicit KeyingClassifier(double dotMs);

    // The set speed changed: start again from its dot, keep the fist's shape.
    void setDotMs(double dotMs);

    // Each call first gives any report that fell due before `t`.
    QList<KeyReport> press(double t);
    QList<KeyReport> release(double t);
    QList<KeyReport> advanceTo(double t);

    // When the next report falls due if nothing is keyed.
    std::optional<double> nextDue() const;

    // Forgets a half-keyed character; what was learnt stays.
    void reset();

    // What has been learnt of the trainee.
    double dotMs() const { return m_dot; }
    double dashRatio() const { return m_dashRatio; }
    double letterGapMs() const { return m_dot * m_letterGapRatio; }
    // The silence after which the trainee has stopped keying: a word space
    // (seven dots) and more than two of their letter gaps.
    double wordGapMs() const;
    // Letters per minute as the speed setting counts them (PARIS: a speed of
    // 60 is a dot of 100 ms), over elements and gaps as keyed.
    double lettersPerMinute() const;

private:
    double longLimit() const;
    double characterEndLimit() const;
    double debounce() const { return m_dot / 5; }
    void learnMark(double length, bool dash);
    void learnGap(double length, bool letterGap);

    double m_setDot;
    double m_dot;
    double m_dashRatio = 3;
    double m_gapRatio = 1;
    double m_letterGapRatio = 3;

    bool m_down = false;
    double m_pressedAt = 0;
    std::optional<double> m_gapBefore; // silence before the press, until it proves no spike
    bool m_elementPending = false; // released, not yet reported
    bool m_characterOpen = false; // elements reported since the last 'V'
    std::optional<double> m_releasedAt;
};
