// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/keyinput.h"

#include <algorithm>
#include <cmath>

KeyInput::KeyInput(double dotMs, IambicKeyer::Mode mode, QObject *parent)
    : QObject(parent)
    , m_classifier(dotMs)
    , m_iambic(dotMs, mode)
    , m_zeroNs(monotonicNs())
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &KeyInput::timerDue);
}

void KeyInput::setDotMs(double dotMs)
{
    m_classifier.setDotMs(dotMs);
    m_iambic.setDotMs(dotMs);
}

void KeyInput::straightDown()
{
    straight(m_straight, true, monotonicNs());
}

void KeyInput::straightUp()
{
    straight(m_straight, false, monotonicNs());
}

void KeyInput::straightKeyAt(bool down, qint64 atNs)
{
    straight(m_straight, down, atNs);
}

void KeyInput::straightAt(bool down, qint64 atNs)
{
    straight(m_adapterStraight, down, atNs);
}

void KeyInput::straight(bool &key, bool down, qint64 atNs)
{
    if (key == down)
        return;
    key = down;
    setTone(msFromStamp(atNs), atNs);
    armTimer();
}

void KeyInput::paddleDown(Paddle which)
{
    paddle(which, true, now());
}

void KeyInput::paddleUp(Paddle which)
{
    paddle(which, false, now());
}

void KeyInput::paddleAt(Paddle which, bool down, qint64 atNs)
{
    paddle(which, down, msFromStamp(atNs));
}

void KeyInput::paddle(Paddle which, bool down, double t)
{
    m_paddleTime = std::max(t, m_paddleTime);
    paddleEdges(m_iambic.paddle(which, down, m_paddleTime));
    armTimer();
}

void KeyInput::paddleEdges(const QList<ToneEdge> &edges)
{
    for (const ToneEdge &edge : edges) {
        m_paddleTone = edge.on;
        setTone(edge.at, stampFromMs(edge.at));
    }
}

// The straight keys and the paddles sound as one key. The sidetone gets the
// key's own stamp; the classifier times in ms.
void KeyInput::setTone(double t, qint64 atNs)
{
    const bool sound = m_straight || m_paddleTone || (m_adapterStraight && !m_adapterHeardElsewhere);
    const bool on = sound || m_adapterStraight;
    // A paddle edge handled late may be older than the straight key's last.
    const double at = std::max(t, m_lastEdge);
    if (sound != m_soundOn) {
        m_soundOn = sound;
        emit sounds(sound, at == t ? atNs : stampFromMs(at));
    }
    if (on == m_toneOn)
        return;
    m_toneOn = on;
    m_lastEdge = at;
    emit keyed(on, m_lastEdge);
    if (!on) {
        m_silentSince = m_lastEdge;
        emitReports(m_classifier.release(m_lastEdge));
        return;
    }
    // What falls due at the press belongs to the element before it.
    emitReports(m_classifier.press(m_lastEdge));
    m_pressByPaddles = m_paddleTone && !m_straight && !m_adapterStraight;
}

void KeyInput::flush()
{
    const double t = now();
    m_paddleTime = std::max(t, m_paddleTime);
    paddleEdges(m_iambic.advanceTo(m_paddleTime));
    emitReports(m_classifier.advanceTo(std::max(t, m_lastEdge)));
    armTimer();
}

void KeyInput::timerDue()
{
    // A timer may fire a hair early; flush arms it again for what is left.
    flush();
}

void KeyInput::armTimer()
{
    std::optional<double> due = m_iambic.nextDue();
    if (const auto report = m_classifier.nextDue())
        due = due ? std::min(*due, *report) : *report;
    if (due)
        m_timer.start(std::max(0, int(std::ceil(*due - now()))));
    else
        m_timer.stop();
}

double KeyInput::silentMs() const
{
    return m_toneOn ? 0 : std::max(0.0, now() - m_silentSince);
}

void KeyInput::reset()
{
    m_straight = m_adapterStraight = m_paddleTone = false;
    m_iambic.reset();
    m_timer.stop();
    if (m_soundOn) {
        m_soundOn = false;
        emit sounds(false, monotonicNs());
    }
    if (m_toneOn) {
        m_toneOn = false;
        m_silentSince = now();
        emit keyed(false, m_silentSince);
    }
    m_classifier.reset();
}

void KeyInput::emitReports(const QList<KeyReport> &reports)
{
    for (const KeyReport &r : reports)
        emit report(r.letter, {r.from, r.to, m_pressByPaddles});
}
