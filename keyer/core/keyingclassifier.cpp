// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/keyingclassifier.h"

#include "common/frames.h"

#include <algorithm>
#include <cmath>

namespace {

// How far one element moves the dot (fast: a new speed shows within a
// character) and one element or gap moves the fist's ratios (slow: one odd
// element must not reshape them). Tuned with bench/decoder_bench.
constexpr double dotRate = 0.2;
constexpr double shapeRate = 0.1;

void follow(double &estimate, double sample, double rate, double low, double high)
{
    estimate = std::clamp(estimate + rate * (sample - estimate), low, high);
}

} // namespace

KeyingClassifier::KeyingClassifier(double dotMs)
    : m_setDot(dotMs)
    , m_dot(dotMs)
{ }

void KeyingClassifier::setDotMs(double dotMs)
{
    m_setDot = m_dot = dotMs;
}

double KeyingClassifier::longLimit() const
{
    return 0.95 * m_dot * std::sqrt(m_dashRatio);
}

double KeyingClassifier::characterEndLimit() const
{
    return m_dot * std::sqrt(m_gapRatio * m_letterGapRatio);
}

double KeyingClassifier::wordGapMs() const
{
    return m_dot * std::max(7.0, 2.5 * m_letterGapRatio);
}

double KeyingClassifier::lettersPerMinute() const
{
    // PARIS and its word space: ten dots, four dashes, nine element gaps,
    // four letter gaps and a word gap, 50 dots at even keying.
    const double dots = 10 + 4 * m_dashRatio + 9 * m_gapRatio + (4 + 7.0 / 3) * m_letterGapRatio;
    return 300000 / (m_dot * dots);
}

void KeyingClassifier::learnMark(double length, bool dash)
{
    const double asDots = dash ? length / m_dashRatio : length;
    follow(m_dot, std::clamp(asDots, m_dot / 2, m_dot * 2), dotRate, m_setDot / 3, m_setDot * 3);
    if (dash)
        follow(m_dashRatio, length / m_dot, shapeRate, 2, 5);
}

void KeyingClassifier::learnGap(double length, bool letterGap)
{
    if (letterGap) {
        // Longer is a pause between groups. A trainee's drawn-out letter gaps
        // are learnt quicker than the rest: until then, the silence that
        // means they have stopped keying is too short for them.
        if (length < 4 * letterGapMs())
            follow(m_letterGapRatio, length / m_dot, 2 * shapeRate, 2, 12);
        return;
    }
    follow(m_gapRatio, length / m_dot, shapeRate, 0.5, 2);
}

QList<KeyReport> KeyingClassifier::advanceTo(double t)
{
    QList<KeyReport> reports;
    if (m_elementPending && t >= *m_releasedAt + debounce()) {
        const double length = *m_releasedAt - m_pressedAt;
        const bool dash = length > longLimit();
        reports.append(
            {dash ? KeyerText::dash : KeyerText::dot, *m_releasedAt + debounce(), m_pressedAt, *m_releasedAt});
        learnMark(length, dash);
        m_elementPending = false;
        m_characterOpen = true;
    }
    if (!m_down && !m_elementPending && m_characterOpen && t >= *m_releasedAt + characterEndLimit()) {
        reports.append({KeyerText::characterEnd, *m_releasedAt + characterEndLimit()});
        m_characterOpen = false;
    }
    return reports;
}

QList<KeyReport> KeyingClassifier::press(double t)
{
    QList<KeyReport> reports = advanceTo(t);
    if (m_down)
        return reports;
    m_down = true;
    if (m_elementPending) {
        // Up for less than the debounce time: the same element goes on.
        m_elementPending = false;
        return reports;
    }
    m_pressedAt = t;
    m_gapBefore.reset();
    if (m_releasedAt)
        m_gapBefore = t - *m_releasedAt;
    return reports;
}

QList<KeyReport> KeyingClassifier::release(double t)
{
    QList<KeyReport> reports = advanceTo(t);
    if (!m_down)
        return reports;
    m_down = false;
    if (t - m_pressedAt < debounce())
        return reports; // a spike: as if the key had stayed up
    if (m_gapBefore)
        learnGap(*m_gapBefore, !m_characterOpen);
    m_gapBefore.reset();
    m_releasedAt = t;
    m_elementPending = true;
    return reports;
}

std::optional<double> KeyingClassifier::nextDue() const
{
    if (m_down)
        return std::nullopt;
    if (m_elementPending)
        return *m_releasedAt + debounce();
    if (m_characterOpen)
        return *m_releasedAt + characterEndLimit();
    return std::nullopt;
}

void KeyingClassifier::reset()
{
    m_down = false;
    m_elementPending = false;
    m_characterOpen = false;
    m_releasedAt.reset();
    m_gapBefore.reset();
}
