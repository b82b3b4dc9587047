#pragma once

#include <QString>

// One line on stderr for a failure of a file, the line or the sound,
// prefixed with the program's name (QCoreApplication::applicationName(),
// which each program sets first thing in main).
void reportProblem(const QString &line);
