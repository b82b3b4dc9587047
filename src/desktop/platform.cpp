// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/platform.h"

#include "common/qttranslation.h"
#include "common/version.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QStyleFactory>
#include <QTranslator>

namespace {

bool hungarianDesktop()
{
    return QLocale::system().language() == QLocale::Hungarian;
}

// Qt's texts for the windows, which are Hungarian on any desktop, and not
// those that end up in terminal messages (a file's, the line's, the command
// line's, the history's), which speak the desktop's language.
class WindowTextsTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *source, const char *disambiguation, int n) const override
    {
        static const QByteArrayList terminalContexts
            = {"QIODevice",          "QFile",     "QFileDevice",   "QSaveFile",     "QSerialPort",
               "QCommandLineParser", "QLockFile", "QSQLiteDriver", "QSQLiteResult", "QSqlDatabase"};
        if (terminalContexts.contains(QByteArray(context)))
            return QString();
        return QTranslator::translate(context, source, disambiguation, n);
    }
};

// Fusion frames the focused control only once Tab has moved the focus in
// its window, and a window's activation forgets that. A Space pressed on
// "Sebesség +", which has the focus at the start, would raise the speed
// unseen: every focused control is framed.
class FocusFrames : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType())
            static_cast<QWidget *>(watched)->window()->setAttribute(Qt::WA_KeyboardFocusChange);
        return false;
    }
};

} // namespace

void MessageBox::critical(QWidget *parent, const QString &text)
{
    if (m_receiver) {
        m_receiver(text);
        return;
    }
    // The program's own title, as the desktop names it (not the command's name).
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vestranoli"), text, QMessageBox::Ok, parent);
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
    showFocusFrames();
}

void showFocusFrames()
{
    qApp->installEventFilter(new FocusFrames(qApp));
}

void loadQtTranslations()
{
    auto *translator = hungarianDesktop() ? new QTranslator(QCoreApplication::instance())
                                          : new WindowTextsTranslator(QCoreApplication::instance());
    if (loadQtTranslation(*translator, QLocale(QLocale::Hungarian, QLocale::Hungary)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void loadTerminalTranslation()
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    // Built into the program by qt_add_translations.
    if (hungarianDesktop() && translator->load(QStringLiteral(":/i18n/vestranoli_hu.qm")))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

QString terminalTextWithoutApplication(const char *context, const char *text)
{
    QTranslator translator;
    const QString translated = hungarianDesktop() && translator.load(QStringLiteral(":/i18n/vestranoli_hu.qm"))
                                   ? translator.translate(context, text)
                                   : QString();
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}
