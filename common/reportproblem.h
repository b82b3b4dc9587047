// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QTimer>

// What a program says on stderr: one line each, prefixed with its name
// (QCoreApplication::applicationName(), which each program sets first thing
// in main). A problem is a failure of a file, the line, the sound or the
// command line, with what the program does instead; news is what is worth
// knowing and is no failure: the port chosen, a line or an adapter back, a
// way of playing chosen. A control character in a line (an escape sequence
// from a device, say) is written as \xHH, never as it is.
void reportProblem(const QString &line);
void reportNews(const QString &line);

// Problems that can come without end (what a noisy line brings): the first
// `lines` of each `windowMs` are said, the rest counted and said as a number
// when the window is over.
class ProblemLimit
{
public:
    ProblemLimit(int lines, int windowMs);
    ~ProblemLimit() { sayUnsaid(); }
    ProblemLimit(const ProblemLimit &) = delete;
    ProblemLimit &operator=(const ProblemLimit &) = delete;
    void report(const QString &line);

private:
    void sayUnsaid();

    int m_lines;
    int m_said = 0;
    int m_unsaid = 0;
    QTimer m_window; // from the first problem of the window
};
