// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/receivedtext.h"

#include "common/frames.h"

QString readForLog(const QString &read)
{
    if (read.startsWith(QLatin1Char('\r')))
        return QStringLiteral("\r\n");
    return read;
}

QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

QStringList separateReports(const QString &read)
{
    QStringList reports;
    for (QChar c : read) {
        if (c == QLatin1Char(KeyerText::dot) || c == QLatin1Char(KeyerText::dash)
            || c == QLatin1Char(KeyerText::characterEnd))
            reports.append(QString(c));
        else if (c != QLatin1Char(' '))
            return {read};
    }
    return reports.size() > 1 ? reports : QStringList{read};
}
