#include "core/keyingclassifier.h"

QList<KeyReport> KeyingClassifier::advanceTo(double t)
{
    QList<KeyReport> reports;
    const std::optional<double> due = characterEndDue();
    if (due && t >= *due) {
        reports.append({'V', *due});
        m_elementsPending = false;
    }
    return reports;
}

QList<KeyReport> KeyingClassifier::press(double t)
{
    QList<KeyReport> reports = advanceTo(t);
    if (!m_down) {
        m_down = true;
        m_pressedAt = t;
    }
    return reports;
}

QList<KeyReport> KeyingClassifier::release(double t)
{
    QList<KeyReport> reports = advanceTo(t);
    if (m_down) {
        m_down = false;
        reports.append({t - m_pressedAt < 2 * m_dotMs ? 'R' : 'H', t});
        m_elementsPending = true;
        m_releasedAt = t;
    }
    return reports;
}

std::optional<double> KeyingClassifier::characterEndDue() const
{
    if (m_down || !m_elementsPending)
        return std::nullopt;
    return m_releasedAt + 3 * m_dotMs;
}

void KeyingClassifier::reset()
{
    m_down = false;
    m_elementsPending = false;
}
