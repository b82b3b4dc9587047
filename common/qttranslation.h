// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLocale;
class QTranslator;

// Qt's own texts (standard dialogs and buttons) in the locale's language,
// from the translations Qt ships (Debian: qt6-translations-l10n); false
// where there are none.
bool loadQtTranslation(QTranslator &translator, const QLocale &locale);
