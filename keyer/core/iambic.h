// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>

#include <optional>

// The sidetone going on or off at `at` (the caller's milliseconds).
struct ToneEdge {
    bool on = false;
    double at = 0;

    bool operator==(const ToneEdge &other) const = default;
};

// An iambic keyer: two paddles, dot and dash, keying whole elements at the
// set speed, each followed by a dot of silence. A paddle held repeats its
// element; both held (squeezed) alternate. A paddle pressed while the other
// element sounds is remembered and keyed next (dot and dash memory).
//
// The modes differ in a squeeze let go: mode A stops after the element that
// sounds, mode B keys one more of the other element, because it remembers
// the other paddle as held when each element begins.
//
// Time is the caller's clock in milliseconds and must not go backwards.
class IambicKeyer
{
public:
    enum class Mode { A, B };
    enum Paddle { Dot, Dash };

    IambicKeyer(double dotMs, Mode mode)
        : m_dot(dotMs)
        , m_mode(mode)
    { }

    void setDotMs(double dotMs) { m_dot = dotMs; }
    double dotMs() const { return m_dot; }

    // Each call first gives the edges that fell due before `t`.
    QList<ToneEdge> paddle(Paddle which, bool down, double t);
    QList<ToneEdge> advanceTo(double t);

    // When the next edge or decision falls due, if any.
    std::optional<double> nextDue() const;

    // Lets go of both paddles and stops at once.
    void reset();

private:
    double markEnd() const { return m_start + (m_element == Dash ? 3 : 1) * m_dot; }
    void begin(Paddle element, double t, QList<ToneEdge> &edges);

    double m_dot;
    Mode m_mode;
    bool m_held[2] = {false, false};
    bool m_memory[2] = {false, false};
    bool m_sounding = false; // an element or its gap is under way
    bool m_toneOn = false;
    Paddle m_element = Dot;
    double m_start = 0;
};
