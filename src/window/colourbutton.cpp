// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/colourbutton.h"

#include <QApplication>
#include <QPalette>

void ColourButton::setBackColour(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Button, colour);
    setPalette(p);
    const bool face = colour == QApplication::palette(this).color(QPalette::Button);
    setAccessibleDescription(face ? QString() : m_colourMeaning);
}

void ColourButton::setButtonFace()
{
    setBackColour(QApplication::palette(this).color(QPalette::Button));
}

QColor ColourButton::backColour() const
{
    return palette().color(QPalette::Button);
}
