#pragma once

class QLocale;
class QTranslator;

// The keyer's texts are written in English. For a Hungarian locale this
// loads their Hungarian translation into `translator` and returns true; for
// any other it loads nothing and the texts stay English.
bool loadKeyerTranslation(QTranslator &translator, const QLocale &locale);

// Qt's own texts (standard dialogs and buttons) in the locale's language,
// from the translations Qt ships (Debian: qt6-translations-l10n); false
// where there are none.
bool loadQtTranslation(QTranslator &translator, const QLocale &locale);
