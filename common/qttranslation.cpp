// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/qttranslation.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool loadQtTranslation(QTranslator &translator, const QLocale &locale)
{
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}
