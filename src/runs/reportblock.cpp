// SPDX-License-Identifier: GPL-3.0-or-later
#include "runs/reportblock.h"

#include "common/codepage.h"
#include "link/receivedtext.h"

QString groupCells(const GroupLog &grouplog, int g)
{
    QString cells;
    for (int p = 1; p <= 15; ++p) {
        const QChar c = grouplog[p][g];
        if (c.unicode() != 0)
            cells += c;
    }
    return cells;
}

QByteArray reportLine(const QString &cells)
{
    return toCodePage1250(trimSpaces(cells)) + "\r\n";
}

QByteArray reportBlockEnd()
{
    return QByteArrayLiteral("  \r\n  \r\n");
}
