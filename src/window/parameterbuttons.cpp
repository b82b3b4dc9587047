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
    if (run.speed() < 70)
        run.setSpeed(run.speed() + 1);
    speedButtonDone();
}

void Form1::Command2_Click()
{
    if (run.speed() > 30)
        run.setSpeed(run.speed() - 1);
    speedButtonDone();
}

void Form1::speedButtonDone()
{
    Text5->setText(QString::number(run.speed()));
    sendFrame(speedFrame(Text5->text()));
    Command13->setButtonFace();
}

void Form1::Command8_Click()
{
    groupsizeButtonDone(run.groupsize() < 15 ? run.groupsize() + 1 : run.groupsize());
}

void Form1::Command9_Click()
{
    groupsizeButtonDone(run.groupsize() > 2 ? run.groupsize() - 1 : run.groupsize());
}

// A new group length starts the scoring afresh.
void Form1::groupsizeButtonDone(qint16 groupsize)
{
    run.changeGroupsize(groupsize);
    Text1->setText(QString::number(groupsize));
    Text7->setText(QStringLiteral("0"));
    Text8->setText(QStringLiteral("0"));
    sendFrame(wFrame());
    Command13->setButtonFace();
}

void Form1::Command10_Click()
{
    run.setGroupcount(qint16(std::min(run.groupcount() + 5, 250)));
    Text2->setText(QString::number(run.groupcount()));
}

void Form1::Command11_Click()
{
    run.setGroupcount(qint16(std::max(run.groupcount() - 5, 10)));
    Text2->setText(QString::number(run.groupcount()));
}

void Form1::Command12_Click()
{
    run.setPausevalue(qint16(std::min(run.pausevalue() + 5, 200)));
    pauseButtonDone();
}

void Form1::Command14_Click()
{
    run.setPausevalue(qint16(std::max(run.pausevalue() - 5, 30)));
    pauseButtonDone();
}

void Form1::pauseButtonDone()
{
    Text3->setText(QString::number(run.pausevalue()));
    sendFrame(pauseFrame(quint8(std::clamp<int>(numberFromText(Text3->text()), 0, 255))));
}

void Form1::Command15_Click()
{
    run.setParameters(Parameters{});
    setParameterBoxes();
    Command13->setButtonFace();
    sendFrame(wFrame());
}
