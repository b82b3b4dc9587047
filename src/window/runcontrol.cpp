// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/frames.h"
#include "common/spokennotice.h"
#include "settings/numberfromtext.h"
#include "window/colourbutton.h"
#include "window/textbox.h"

// Start: a copy run. The groups are not shown; groupcount comes from Text2.
void Form1::Command6_Click()
{
    if (!keyerAnswered())
        return;
    sendFrame(copyStartFrame());
    run.startCopyRun(numberFromText(Text2->text()));
    Command4->setButtonFace();
    Command13->setButtonFace();
    Text4->setText(QString());
    kikukdo();
}

// Oda - Vissza: an echo run. Each group is shown and keyed back.
void Form1::Command13_Click()
{
    if (!keyerAnswered())
        return;
    run.startEchoRun();
    Command4->setButtonFace();
    Command13->setBackColour(Colours::green);
    Text4->setText(QString());
    Text7->setText(QStringLiteral("0"));
    Text8->setText(QStringLiteral("0"));
    sendFrame(echoStartFrame());
    notice->say(QStringLiteral("A visszaadás elindult."));
    kikukdo();
}

// Stop: the next group done ends the run.
void Form1::Command7_Click()
{
    run.stop();
}
