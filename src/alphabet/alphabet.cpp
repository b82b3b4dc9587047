// SPDX-License-Identifier: GPL-3.0-or-later
#include "alphabet/alphabet.h"

#include "common/morsetable.h"

void Alphabet::betutar()
{
    int row = 1;
    for (const MorseEntry &entry : morseTable()) {
        morsetable[row][1] = QString::fromUtf16(entry.elements);
        morsetable[row][2] = QChar(entry.character);
        ++row;
    }
}

// Every filled row is compared, the last match counting.
QString Alphabet::betukeres(const QString &elements) const
{
    QString result = QStringLiteral("#");
    const int rows = int(morseTable().size());
    for (int i = 1; i <= rows; ++i) {
        if (elements == morsetable[i][1])
            result = morsetable[i][2];
    }
    return result;
}
