// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <array>

// The Morse table the trainer decodes with: rows 1 to 47 hold an element
// string in column 1 and its character in column 2, in the order of the
// common Morse table. Empty until betutar fills it.
class Alphabet
{
public:
    // Fills the table.
    void betutar();

    // The character whose elements are exactly `elements`, "#" when no row
    // matches.
    QString betukeres(const QString &elements) const;

private:
    std::array<std::array<QString, 3>, 51> morsetable;
};
