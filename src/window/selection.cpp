// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "settings/settingsfile.h"

#include <QCheckBox>
#include <QPushButton>

// A tick stores the box's own character in its slot, an untick a blank;
// this also runs when the program sets the tick.
void Form1::Check_Click(int N)
{
    run.setSlot(N, Check[N]->isChecked() ? slotCharacter(N) : QLatin1Char(' '));
}

// Sets the ticks from slots 1 to 47. A box whose tick changes rewrites its
// slot through Check_Click.
void Form1::tombbetolt()
{
    for (int n = 1; n <= 47; ++n)
        Check[n]->setChecked(isSelectedSlot(run.charslots()[n]));
}

void Form1::Command3_Click()
{
    if (selectallstate == 0) {
        run.selectAll();
        Command3->setText(QStringLiteral("Mind visszavonás"));
    }
    if (selectallstate == 1) {
        run.deselectAll();
        Command3->setText(QStringLiteral("Mind kijelölés"));
    }
    tombbetolt();
    selectallstate = selectallstate == 1 ? 0 : 1;
}
