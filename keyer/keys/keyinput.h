// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/groupreview.h"
#include "core/iambic.h"
#include "core/keyingclassifier.h"
#include "core/monotonicclock.h"

#include <QObject>
#include <QTimer>

#include <cmath>
#include <limits>

// The trainee's keys, in real time: a straight key (the space bar or a
// mouse press in the key area) and two iambic paddles (dot and dash) keying
// whole elements at the set speed. The straight key sounds as long as it is
// held. Both go through one classifier, which turns what sounded into the
// reports for the trainer and learns the trainee's fist.
class KeyInput : public QObject
{
    Q_OBJECT

public:
    using Paddle = IambicKeyer::Paddle;

    KeyInput(double dotMs, IambicKeyer::Mode mode = IambicKeyer::Mode::B, QObject *parent = nullptr);

    // The set speed: the paddles' dot, and where the classifier starts again.
    void setDotMs(double dotMs);

    void straightDown();
    void straightUp();
    void paddleDown(Paddle paddle);
    void paddleUp(Paddle paddle);

    // The same for a key seen at `atNs` on the monotonic clock
    // (CLOCK_MONOTONIC): a window's event at its own time (eventStamp), or
    // a key on a serial adapter, whose reader stamps each change when it
    // sees it. The element is timed from the stamp, not from when this
    // thread gets to it. The adapter's straight key (straightAt) is a key
    // of its own beside the window's; where its reader hands it to the
    // sidetone itself, it is heard elsewhere and left out of sounds().
    void straightKeyAt(bool down, qint64 atNs);
    void straightAt(bool down, qint64 atNs);
    void paddleAt(Paddle paddle, bool down, qint64 atNs);
    void setAdapterHeardElsewhere(bool elsewhere) { m_adapterHeardElsewhere = elsewhere; }
    // A stamp on this object's clock, and back. The way back is exact to the
    // nanosecond for stamps up to 2^51 ns (26 days) after this object was
    // made: a double holds the ms there to well under a nanosecond, and the
    // rounding gives the stamp itself.
    double msFromStamp(qint64 atNs) const { return double(atNs - m_zeroNs) / 1e6; }
    qint64 stampFromMs(double ms) const { return m_zeroNs + qint64(std::llround(ms * 1e6)); }

    // Gives a character end that is due now, without waiting for its timer.
    void flush();

    // Forgets a half-keyed character and lets go of every key.
    void reset();

    const KeyingClassifier &classifier() const { return m_classifier; }

    // How long the key has been silent, in ms: 0 while it sounds, and
    // infinity before it has ever sounded.
    double silentMs() const;

signals:
    // The key (any of them) goes down or up, at `at` on this object's clock
    // (ms since it was made): a stamp or a paddle's edge, never earlier than
    // the last.
    void keyed(bool down, double at);
    // The same for the keys the sidetone hears from here, at `atNs` on the
    // monotonic clock: the key's own stamp, or a paddle's edge.
    void sounds(bool down, qint64 atNs);
    // 'R', 'H' or 'V'; for an element, the press it was keyed with.
    void report(char letter, const KeyedMark &mark);

private:
    double now() const { return msFromStamp(monotonicNs()); }
    void straight(bool &key, bool down, qint64 atNs); // the space bar's key or the adapter's
    void paddle(Paddle paddle, bool down, double t);
    void setTone(double t, qint64 atNs);
    void paddleEdges(const QList<ToneEdge> &edges);
    void emitReports(const QList<KeyReport> &reports);
    void timerDue();
    void armTimer();

    KeyingClassifier m_classifier;
    IambicKeyer m_iambic;
    qint64 m_zeroNs; // the monotonic clock when this was made
    QTimer m_timer; // the next paddle edge or report
    bool m_straight = false;
    bool m_adapterStraight = false;
    bool m_adapterHeardElsewhere = false;
    bool m_paddleTone = false;
    bool m_toneOn = false;
    bool m_soundOn = false;
    bool m_pressByPaddles = false; // the paddles alone keyed the element last pressed
    double m_lastEdge = 0; // the classifier's clock never goes back
    double m_paddleTime = 0; // nor the paddles' (a stamp may be older than a paddle edge handled)
    double m_silentSince = -std::numeric_limits<double>::infinity();
};
