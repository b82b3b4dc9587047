// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/frames.h"
#include "link/keyerband.h"
#include "window/textbox.h"

// Draws one group, shows it in an echo run, and sends it as one group frame.
// The band the software keyer plays it through is read after the frame is
// on its way, and kept with the group for the history.
void Form1::kikukdo()
{
    Text6->setText(QString());
    Text9->setText(QStringLiteral(" "));
    const QString letters = run.drawGroup();
    if (run.groupsize() > 0)
        Text10->setText(QString::number(run.groupsize()));
    if (run.blindmode() == 0) {
        for (QChar ch : run.txgroup())
            Text9->appendText(ch);
    }
    sendFrame(groupFrame(letters));
    run.setGroupConditions(keyerBand(MSComm1.deviceName()));
    Text6->setText(QString());
}
