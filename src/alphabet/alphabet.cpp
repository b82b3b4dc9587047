#include "window/form1.h"

#include "alphabet/morsetable.h"

void Form1::betutar()
{
    int row = 1;
    for (const MorseEntry &entry : morseTable()) {
        morsetable[row][1] = QString::fromUtf16(entry.elements);
        morsetable[row][2] = QChar(entry.character);
        ++row;
    }
}

// Exact match against rows 1 to 47, "#" when none matches.
QString Form1::betukeres(const QString &elements) const
{
    QString result = QStringLiteral("#");
    for (int i = 1; i <= 47; ++i) {
        if (elements == morsetable[i][1])
            result = morsetable[i][2];
    }
    return result;
}
