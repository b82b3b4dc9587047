// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/platform.h"

#include "common/qttranslation.h"
#include "common/version.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>

void MessageBox::critical(QWidget *parent, const QString &text)
{
    if (m_receiver) {
        m_receiver(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
    box.exec();
}

void ProgramEnd::now(int status)
{
    m_status = status;
    if (m_receiver) {
        m_receiver();
        return;
    }
    QCoreApplication::exit(status);
}

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("vestranoli"));
    QApplication::setApplicationVersion(QStringLiteral(VESTRANOLI_VERSION));
    // The desktop entry's name, so that a Wayland desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.vestranoli.Vestranoli"));
    // Fusion shows the green of "Oda - Vissza" and "Ellenörzés" on every
    // desktop; some native styles ignore a button's back colour.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void loadQtTranslations()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (loadQtTranslation(*translator, QLocale(QLocale::Hungarian, QLocale::Hungary)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
