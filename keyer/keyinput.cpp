#include "keyinput.h"

KeyInput::KeyInput(double dotMs, QObject *parent)
    : QObject(parent)
    , m_classifier(dotMs)
{
    m_clock.start();
    m_characterEnd.setSingleShot(true);
    m_characterEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_characterEnd, &QTimer::timeout, this, &KeyInput::characterEndDue);
    m_paddleTimer.setSingleShot(true);
    m_paddleTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_paddleTimer, &QTimer::timeout, this, &KeyInput::paddleStep);
}

void KeyInput::setDotMs(double dotMs)
{
    m_classifier.setDotMs(dotMs);
}

void KeyInput::straightDown()
{
    if (m_straight)
        return;
    m_straight = true;
    toneDown();
}

void KeyInput::straightUp()
{
    if (!m_straight)
        return;
    m_straight = false;
    toneUp();
}

void KeyInput::paddleDown(Paddle paddle)
{
    (paddle == Paddle::Dot ? m_dotHeld : m_dashHeld) = true;
    m_lastPaddle = paddle;
    if (!m_paddleSounding)
        paddleStep();
}

void KeyInput::paddleUp(Paddle paddle)
{
    (paddle == Paddle::Dot ? m_dotHeld : m_dashHeld) = false;
}

// A paddle element: tone for one or three dots, then a dot of silence,
// then the next element if a paddle is still held.
void KeyInput::paddleStep()
{
    if (m_toneOn && !m_straight) {
        toneUp();
        m_paddleTimer.start(int(m_classifier.dotMs()));
        return;
    }
    if (!m_dotHeld && !m_dashHeld) {
        m_paddleSounding = false;
        return;
    }
    // With both held, the one pressed last wins.
    Paddle paddle = m_lastPaddle;
    if (!(paddle == Paddle::Dot ? m_dotHeld : m_dashHeld))
        paddle = paddle == Paddle::Dot ? Paddle::Dash : Paddle::Dot;
    m_paddleSounding = true;
    toneDown();
    m_paddleTimer.start(int(m_classifier.dotMs() * (paddle == Paddle::Dash ? 3 : 1)));
}

void KeyInput::reset()
{
    m_straight = m_dotHeld = m_dashHeld = m_paddleSounding = false;
    m_paddleTimer.stop();
    m_characterEnd.stop();
    if (m_toneOn) {
        m_toneOn = false;
        emit keyed(false);
    }
    m_classifier.reset();
}

void KeyInput::toneDown()
{
    if (m_toneOn)
        return;
    m_toneOn = true;
    m_characterEnd.stop();
    emit keyed(true);
    emitReports(m_classifier.press(now()));
}

void KeyInput::toneUp()
{
    if (!m_toneOn)
        return;
    m_toneOn = false;
    emit keyed(false);
    emitReports(m_classifier.release(now()));
    armCharacterEnd();
}

void KeyInput::armCharacterEnd()
{
    if (const auto due = m_classifier.characterEndDue())
        m_characterEnd.start(qMax(0, int(*due - now() + 0.999)));
}

void KeyInput::characterEndDue()
{
    emitReports(m_classifier.advanceTo(now()));
    // A timer may fire a hair early; try again at the due time.
    armCharacterEnd();
}

void KeyInput::emitReports(const QList<KeyReport> &reports)
{
    for (const KeyReport &r : reports)
        emit report(r.letter);
}
