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
    blindmode = 1;
    for (int g = 1; g < groupLogGroups; ++g) {
        for (int p = 1; p < groupLogPositions; ++p)
            grouplog[p][g] = QLatin1Char(' ');
    }
    groupindex = 1;
    m_copyRunToRecord = true;
    groupcount = numberFromText(Text2->text());
    Command4->setButtonFace();
    Command13->setButtonFace();
    Text4->setText(QString());
    kikukdo();
}

// Oda - Vissza: an echo run. Each group is shown and keyed back; the group
// record and groupcount go on from where they are. What was keyed of a group
// the last run left unfinished is dropped: counted into the first group of
// this run it would shift every later group against its characters.
void Form1::Command13_Click()
{
    if (!keyerAnswered())
        return;
    rxletters = 0;
    rxgroup.clear();
    elementbuf.clear();
    Command4->setButtonFace();
    Command13->setBackColour(Colours::green);
    Text4->setText(QString());
    blindmode = 0;
    goodgroups = 0;
    badgroups = 0;
    Text7->setText(QStringLiteral("0"));
    Text8->setText(QStringLiteral("0"));
    sendFrame(echoStartFrame());
    notice->say(QStringLiteral("A visszaadás elindult."));
    kikukdo();
}

// Stop: the next group done ends the run.
void Form1::Command7_Click()
{
    groupcount = 1;
}
