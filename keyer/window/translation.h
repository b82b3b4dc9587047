// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLocale;
class QTranslator;

// The keyer's texts are written in English. For a Hungarian locale this
// loads their Hungarian translation into `translator` and returns true; for
// any other it loads nothing and the texts stay English.
bool loadKeyerTranslation(QTranslator &translator, const QLocale &locale);

// The system locale's language for all the keyer says, in its window and on
// the terminal alike: its own texts into `keyer`, Qt's part of a line (why a
// file or an option was refused) into `qt`, both installed where they load.
void installTranslations(QTranslator &keyer, QTranslator &qt);
