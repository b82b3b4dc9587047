// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <array>

// The 47 training characters and their element strings: "R" is a short
// element (dot), "H" a long one (dash), first element first.
struct MorseEntry {
    const char16_t *elements;
    char16_t character;
};

// In table order: A to Z, Á É Ö Ü, the digits 1 to 9 and 0, then . ? : - = / @.
const std::array<MorseEntry, 47> &morseTable();

// The element string of a training character, empty for any other character.
QString elementsOf(QChar character);

// The training character of an element string; "#" when it is none.
QChar characterOf(QStringView elements);
