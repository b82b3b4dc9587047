// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

// Called right after the next group frame has been written: the frame is
// pushed onto the line first, so the keyer never waits for the file.
void Form1::recordEchoGroup(const QString &sent, const QString &decoded)
{
    if (!history.isOpen())
        return;
    MSComm1.flush();
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), sent, decoded, sent == decoded, run.speed(),
                             run.groupsize(), run.pausevalue()});
}

// A copy run has ended (Command4 turned green): its groups are those the
// check report would list. A stray group done after the end adds nothing.
void Form1::recordCopyRun()
{
    const std::optional<QStringList> groups = run.takeEndedCopyRun();
    if (!groups)
        return;
    history.recordCopyRun({QDateTime::currentDateTimeUtc(), run.speed(), run.groupsize(), run.pausevalue(), *groups});
}
