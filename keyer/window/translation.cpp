// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/translation.h"

#include "common/qttranslation.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

bool loadKeyerTranslation(QTranslator &translator, const QLocale &locale)
{
    // Built into the program by qt_add_translations, one file per language.
    return translator.load(locale, QStringLiteral("vestranoli-keyer"), QStringLiteral("_"), QStringLiteral(":/i18n"));
}

void installTranslations(QTranslator &keyer, QTranslator &qt)
{
    if (loadKeyerTranslation(keyer, QLocale::system()))
        QCoreApplication::installTranslator(&keyer);
    if (loadQtTranslation(qt, QLocale::system()))
        QCoreApplication::installTranslator(&qt);
}
