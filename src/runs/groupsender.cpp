// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/frames.h"
#include "common/morsetable.h"
#include "settings/numberfromtext.h"
#include "settings/settingsfile.h"
#include "window/textbox.h"

namespace {

// Slots 48 and 49 have no check box and take whatever the settings file
// holds there: only a training character is drawn, never a frame mark or
// anything else the keyer cannot play.
bool isDrawn(QChar slot)
{
    return isSelectedSlot(slot) && !elementsOf(slot).isEmpty();
}

} // namespace

// Draws one group of groupsize characters from the selected slots, records
// it, shows it in an echo run, and sends it as one group frame.
void Form1::kikukdo()
{
    int n = 0;
    for (int s = 1; s <= 50; ++s) {
        if (isDrawn(charslots[s]))
            ++n;
    }

    Text6->setText(QString());
    Text9->setText(QStringLiteral(" "));
    txgroup.clear();

    // Cells nothing is drawn for (nothing selected) go out as blanks, so the
    // keyer still gets a frame of groupsize letters.
    QString letters(qMax<int>(groupsize, 0), QLatin1Char(' '));
    // The group record holds groups 1 to 250 (0 for an echo run before any
    // Start) and 15 letters; a group beyond it is still sent.
    const bool recorded = groupindex >= 0 && groupindex < groupLogGroups;

    for (int p = 1; p <= groupsize; ++p) {
        Text10->setText(QString::number(groupsize));
        const double r = m_random.generateDouble();
        const int pick = int(r * n + 1);
        int c = 0;
        for (int s = 1; s <= 50; ++s) {
            if (!isDrawn(charslots[s]))
                continue;
            ++c;
            if (c != pick)
                continue;
            const QChar ch = charslots[s];
            if (blindmode == 0)
                Text9->appendText(ch);
            letters[p - 1] = ch;
            if (recorded && p < groupLogPositions)
                grouplog[p][groupindex] = ch;
            txgroup += ch;
        }
    }

    groupindex = saturatingAdd(groupindex, 1);
    sendFrame(groupFrame(letters));
    Text6->setText(QString());
}
