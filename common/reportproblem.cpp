// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/reportproblem.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

void say(const QString &line)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()), qUtf8Printable(line));
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
