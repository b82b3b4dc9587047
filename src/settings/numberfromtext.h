// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Reads a number the way the parameter boxes and the settings file are read:
// leading blanks skipped, an optional sign, digits, an optional "." and
// fraction digits; blanks inside the number are skipped and reading stops at
// the first character that cannot continue it ("1 2" is 12, "7x" is 7).
// Empty when the text holds no digit at all. `written`, when given, receives
// the sign, digits and point that were read, blanks left out.
std::optional<double> readNumber(QStringView text, QString *written = nullptr);

// readNumber rounded to the nearest integer, an exact half going to the even
// neighbour (4.5 gives 4, 5.5 gives 6), held to the 16-bit range; 0 for a
// text with no number.
qint16 numberFromText(QStringView text);

// Rounds half to even and clamps into -32768..32767.
qint16 roundToInt16(double value);

// The window's counters are 16-bit; they stop at the limits instead of
// wrapping round.
qint16 saturatingAdd(qint16 value, int delta);
