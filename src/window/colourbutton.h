// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPushButton>

// A button whose back colour the program sets and reads: a colour of its
// own, or the system's button face.
class ColourButton : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    void setBackColour(const QColor &colour);
    void setButtonFace();
    QColor backColour() const;
};
