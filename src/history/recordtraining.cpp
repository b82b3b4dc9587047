// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "runs/reportblock.h"

#include <QDir>

QString Form1::historyPath() const
{
    return QDir(m_options.dataDir).filePath(QStringLiteral("history.sqlite"));
}

// Called right after the next group frame has been written: the frame is
// pushed onto the line first, so the keyer never waits for the file.
void Form1::recordEchoGroup(const QString &sent, const QString &decoded)
{
    if (!history.isOpen())
        return;
    MSComm1.flush();
    history.recordEchoGroup(
        {QDateTime::currentDateTimeUtc(), sent, decoded, sent == decoded, speed, groupsize, pausevalue});
}

// A copy run has ended (Command4 turned green): its groups are those the
// check report would list. A stray group done after the end adds nothing.
void Form1::recordCopyRun()
{
    if (blindmode != 1 || !m_copyRunToRecord)
        return;
    m_copyRunToRecord = false;
    CopyRunRecord run{QDateTime::currentDateTimeUtc(), speed, groupsize, pausevalue, {}};
    const int lastGroup = qMin<int>(groupindex - 1, groupLogGroups - 1);
    for (int g = 1; g <= lastGroup; ++g)
        run.groups.append(groupCells(grouplog, g).trimmed());
    history.recordCopyRun(run);
}
