// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/reportproblem.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// C0, DEL and C1: each could begin a sequence the terminal acts on.
QString withoutControls(const QString &line)
{
    QString shown;
    shown.reserve(line.size());
    for (const QChar c : line) {
        const char16_t code = c.unicode();
        if (code < 0x20 || (code >= 0x7f && code < 0xa0))
            shown += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return shown;
}

void say(const QString &line)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                 qUtf8Printable(withoutControls(line)));
    std::fflush(stderr);
}

} // namespace

void reportProblem(const QString &line)
{
    say(line);
}

void reportNews(const QString &line)
{
    say(line);
}

ProblemLimit::ProblemLimit(int lines, int windowMs)
    : m_lines(lines)
{
    m_window.setSingleShot(true);
    m_window.setInterval(windowMs);
    QObject::connect(&m_window, &QTimer::timeout, &m_window, [this] {
        sayUnsaid();
        m_said = 0;
    });
}

void ProblemLimit::sayUnsaid()
{
    if (m_unsaid > 0)
        reportProblem(QCoreApplication::translate("ProblemLimit", "and %1 more such problems within %2 s, left unsaid")
                          .arg(m_unsaid)
                          .arg(m_window.interval() / 1000.0));
    m_unsaid = 0;
}

void ProblemLimit::report(const QString &line)
{
    if (!m_window.isActive())
        m_window.start();
    if (m_said < m_lines) {
        ++m_said;
        reportProblem(line);
    } else {
        ++m_unsaid;
    }
}
