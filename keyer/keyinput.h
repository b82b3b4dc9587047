#pragma once

#include "core/keyingclassifier.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The trainee's keys, in real time: a straight key (the space bar or a
// mouse press in the key area) and two paddles (a dot key and a dash key).
// The straight key sounds as long as it is held. A paddle keys a whole dot
// or dash at the set speed and goes on repeating, one dot apart, for as long
// as it is held. Both go through one classifier, which turns what sounded
// into the reports for the trainer.
class KeyInput : public QObject
{
    Q_OBJECT

public:
    enum class Paddle { Dot, Dash };

    explicit KeyInput(double dotMs, QObject *parent = nullptr);

    void setDotMs(double dotMs);

    void straightDown();
    void straightUp();
    void paddleDown(Paddle paddle);
    void paddleUp(Paddle paddle);

    // Forgets a half-keyed character and lets go of every key.
    void reset();

signals:
    // The sidetone goes on or off.
    void keyed(bool down);
    // 'R', 'H' or 'V'.
    void report(char letter);

private:
    double now() const { return double(m_clock.nsecsElapsed()) / 1e6; }
    void toneDown();
    void toneUp();
    void emitReports(const QList<KeyReport> &reports);
    void characterEndDue();
    void armCharacterEnd();
    void paddleStep();

    KeyingClassifier m_classifier;
    QElapsedTimer m_clock;
    QTimer m_characterEnd;
    QTimer m_paddleTimer;
    bool m_straight = false;
    bool m_toneOn = false;
    bool m_dotHeld = false;
    bool m_dashHeld = false;
    bool m_paddleSounding = false; // inside a paddle element (or its gap)
    Paddle m_lastPaddle = Paddle::Dot;
};
