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

    // What its colour means, for a screen reader: the description while the
    // button shows a colour of its own, none with the button face.
    void setColourMeaning(const QString &words) { m_colourMeaning = words; }

private:
    QString m_colourMeaning;
};
