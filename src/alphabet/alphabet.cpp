// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/morsetable.h"

void Form1::betutar()
{
    int row = 1;
    for (const MorseEntry &entry : morseTable()) {
        morsetable[row][1] = QString::fromUtf16(entry.elements);
        morsetable[row][2] = QChar(entry.character);
        ++row;
    }
}

// Exact match against every filled row, "#" when none matches.
QString Form1::betukeres(const QString &elements) const
{
    QString result = QStringLiteral("#");
    const int rows = int(morseTable().size());
    for (int i = 1; i <= rows; ++i) {
        if (elements == morsetable[i][1])
            result = morsetable[i][2];
    }
    return result;
}
