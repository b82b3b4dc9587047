#include "keyinput.h"

#include <algorithm>
#include <cmath>

KeyInput::KeyInput(double dotMs, IambicKeyer::Mode mode, QObject *parent)
    : QObject(parent)
    , m_classifier(dotMs)
    , m_iambic(dotMs, mode)
{
    m_clock.start();
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
    if (m_straight)
        return;
    m_straight = true;
    setTone(true, now());
    armTimer();
}

void KeyInput::straightUp()
{
    if (!m_straight)
        return;
    m_straight = false;
    setTone(m_paddleTone, now());
    armTimer();
}

void KeyInput::paddleDown(Paddle paddle)
{
    paddleEdges(m_iambic.paddle(paddle, true, now()));
    armTimer();
}

void KeyInput::paddleUp(Paddle paddle)
{
    paddleEdges(m_iambic.paddle(paddle, false, now()));
    armTimer();
}

void KeyInput::paddleEdges(const QList<ToneEdge> &edges)
{
    for (const ToneEdge &edge : edges) {
        m_paddleTone = edge.on;
        setTone(m_straight || m_paddleTone, edge.at);
    }
}

// The straight key and the paddles sound as one key.
void KeyInput::setTone(bool on, double t)
{
    if (on == m_toneOn)
        return;
    m_toneOn = on;
    emit keyed(on);
    // A paddle edge handled late may be older than the straight key's last.
    m_lastEdge = std::max(t, m_lastEdge);
    if (!on)
        m_silentSince = m_lastEdge;
    emitReports(on ? m_classifier.press(m_lastEdge) : m_classifier.release(m_lastEdge));
}

void KeyInput::flush()
{
    const double t = now();
    paddleEdges(m_iambic.advanceTo(t));
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
    m_straight = m_paddleTone = false;
    m_iambic.reset();
    m_timer.stop();
    if (m_toneOn) {
        m_toneOn = false;
        m_silentSince = now();
        emit keyed(false);
    }
    m_classifier.reset();
}

void KeyInput::emitReports(const QList<KeyReport> &reports)
{
    for (const KeyReport &r : reports)
        emit report(r.letter);
}
