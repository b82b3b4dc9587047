// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

// Called right after the next group frame has been written: the frame is
// pushed onto the line first, so the keyer never waits for the file.
void Form1::recordEchoGroup(const Run::CharacterEnd &scored)
{
    if (!history.isOpen())
        return;
    MSComm1.flush();
    history.recordEchoGroup({QDateTime::currentDateTimeUtc(), scored.sent, scored.decoded, scored.good, run.speed(),
                             run.groupsize(), run.pausevalue(), scored.conditions});
}

// A copy run has ended (Command4 turned green): its groups are those the
// check report would list. A stray group done after the end adds nothing.
void Form1::recordCopyRun()
{
    const std::optional<Run::EndedCopyRun> ended = run.takeEndedCopyRun();
    if (!ended)
        return;
    history.recordCopyRun({QDateTime::currentDateTimeUtc(),
                           run.speed(),
                           run.groupsize(),
                           run.pausevalue(),
                           ended->groups,
                           0,
                           {},
                           ended->conditions});
}
