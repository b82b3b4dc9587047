// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What a program says on stderr: one line each, prefixed with its name
// (QCoreApplication::applicationName(), which each program sets first thing
// in main). A problem is a failure of a file, the line, the sound or the
// command line, with what the program does instead; news is what is worth
// knowing and is no failure: the port chosen, a line or an adapter back, a
// way of playing chosen.
void reportProblem(const QString &line);
void reportNews(const QString &line);
