// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/frames.h"
#include "settings/numberfromtext.h"
#include "settings/settingsfile.h"
#include "window/colourbutton.h"
#include "window/textbox.h"

#include <algorithm>

// The buttons step the value the program holds, not what the box shows, and
// send their frame even when the value stayed where it was.

void Form1::Command1_Click()
{
    if (speed < 70)
        ++speed;
    speedButtonDone();
}

void Form1::Command2_Click()
{
    if (speed > 30)
        --speed;
    speedButtonDone();
}

void Form1::speedButtonDone()
{
    Text5->setText(QString::number(speed));
    sendFrame(speedFrame(Text5->text()));
    Command13->setButtonFace();
}

void Form1::Command8_Click()
{
    if (groupsize < 15)
        ++groupsize;
    groupsizeButtonDone();
}

void Form1::Command9_Click()
{
    if (groupsize > 2)
        --groupsize;
    groupsizeButtonDone();
}

// A new group length starts the scoring afresh.
void Form1::groupsizeButtonDone()
{
    Text1->setText(QString::number(groupsize));
    Text7->setText(QStringLiteral("0"));
    Text8->setText(QStringLiteral("0"));
    goodgroups = 0;
    badgroups = 0;
    rxletters = 0;
    sendFrame(wFrame());
    Command13->setButtonFace();
}

void Form1::Command10_Click()
{
    groupcount = qint16(std::min(int(groupcount) + 5, 250));
    Text2->setText(QString::number(groupcount));
}

void Form1::Command11_Click()
{
    groupcount = qint16(std::max(int(groupcount) - 5, 10));
    Text2->setText(QString::number(groupcount));
}

void Form1::Command12_Click()
{
    pausevalue = qint16(std::min(int(pausevalue) + 5, 200));
    pauseButtonDone();
}

void Form1::Command14_Click()
{
    pausevalue = qint16(std::max(int(pausevalue) - 5, 30));
    pauseButtonDone();
}

void Form1::pauseButtonDone()
{
    Text3->setText(QString::number(pausevalue));
    sendFrame(pauseFrame(quint8(std::clamp<int>(numberFromText(Text3->text()), 0, 255))));
}

void Form1::Command15_Click()
{
    const Parameters defaults;
    speed = defaults.speed;
    groupsize = defaults.groupsize;
    groupcount = defaults.groupcount;
    pausevalue = defaults.pausevalue;
    setParameterBoxes();
    Command13->setButtonFace();
    sendFrame(wFrame());
}
