#pragma once

#include <QList>

#include <optional>

// One report to the trainer: 'R' a short element, 'H' a long one, 'V' the end
// of a character; `at` is when it became due, in the caller's milliseconds.
struct KeyReport {
    char letter = 0;
    double at = 0;

    bool operator==(const KeyReport &other) const = default;
};

// Turns the presses and releases of a straight key into reports. A press
// shorter than two dots is a short element, any longer one a long element;
// each is reported when the key comes up. Once the key has stayed up for
// three dots after an element, the character is over.
//
// Time is whatever clock the caller keeps, in milliseconds, and must not go
// backwards.
class KeyingClassifier
{
public:
    explicit KeyingClassifier(double dotMs) : m_dotMs(dotMs) {}

    void setDotMs(double dotMs) { m_dotMs = dotMs; }
    double dotMs() const { return m_dotMs; }

    // Each call first gives any character end that fell due before `t`.
    QList<KeyReport> press(double t);
    QList<KeyReport> release(double t);
    QList<KeyReport> advanceTo(double t);

    // When the pending character end falls due if the key stays up.
    std::optional<double> characterEndDue() const;

    bool keyDown() const { return m_down; }

    // Forgets a half-keyed character.
    void reset();

private:
    double m_dotMs;
    bool m_down = false;
    double m_pressedAt = 0;
    bool m_elementsPending = false; // elements reported since the last 'V'
    double m_releasedAt = 0;
};
