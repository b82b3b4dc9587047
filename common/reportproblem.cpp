#include "common/reportproblem.h"

#include <QCoreApplication>

#include <cstdio>

void reportProblem(const QString &line)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()), qUtf8Printable(line));
    std::fflush(stderr);
}
