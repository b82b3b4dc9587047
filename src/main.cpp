// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"
#include "common/quitonsignal.h"
#include "desktop/options.h"
#include "desktop/platform.h"
#include "stats/statscommand.h"
#include "window/form1.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts when it cannot open a display. X11 and Wayland need one named in
// the environment, unless QT_QPA_PLATFORM or -platform picks another platform.
bool displayNamed(const QStringList &arguments)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || arguments.contains(QLatin1String("-platform"));
#else
    Q_UNUSED(arguments);
    return true;
#endif
}

QtMessageHandler qtMessages = nullptr;

// While the application starts, a fatal message can only mean that no window
// system could be opened: one line and a failure status instead of an abort.
void noWindowSystem(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg)
        return qtMessages(type, context, text);
    std::fputs(qUtf8Printable(terminalTextWithoutApplication(
                   "main", QT_TRANSLATE_NOOP("main", "vestranoli: cannot open the display to show the window on\n"))),
               stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char *argv[])
{
    if (isStatisticsCommand(argc, argv))
        return runStatistics(argc, argv);

    // --help and --version work where no window system is (over ssh, in a
    // package build): they are answered before one is touched. Qt's own
    // options (-platform ...) are only known once the application exists.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine early = parseCommandLine(arguments);
    const bool answeredHere = early.action == CommandLine::ShowHelp || early.action == CommandLine::ShowVersion;
    if (answeredHere || !displayNamed(arguments)) {
        // In the terminal's language, which needs an application, not a display.
        QCoreApplication terminal(argc, argv);
        loadTerminalTranslation();
        if (answeredHere) {
            std::fputs(qUtf8Printable(parseCommandLine(arguments).message + QLatin1Char('\n')), stdout);
            return 0;
        }
        std::fputs(qUtf8Printable(QCoreApplication::translate("main", "vestranoli: no display to show the window on "
                                                                      "(DISPLAY is not set)\n")),
                   stderr);
        return 1;
    }

    qtMessages = qInstallMessageHandler(noWindowSystem);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    setUpApplication();
    loadQtTranslations();
    loadTerminalTranslation();

    const CommandLine commandLine = parseCommandLine(QApplication::arguments());
    switch (commandLine.action) {
    case CommandLine::ShowHelp:
    case CommandLine::ShowVersion:
        std::fputs(qUtf8Printable(commandLine.message + QLatin1Char('\n')), stdout);
        return 0;
    case CommandLine::Refuse:
        std::fputs(
            qUtf8Printable(
                QCoreApplication::translate("CommandLine", "vestranoli: %1 (try --help)").arg(commandLine.message)
                + QLatin1Char('\n')),
            stderr);
        return 2;
    case CommandLine::Run:
        break;
    }

    if (!codePage1250Available()) {
        std::fputs(qUtf8Printable(QCoreApplication::translate("main", "vestranoli: this Qt has no windows-1250 codec; "
                                                                      "the files and the keyer line need it\n")),
                   stderr);
        return 1;
    }

    // A signal (a desktop logging out, the launcher ending) ends the trainer as
    // closing its window does: the history written or its loss noted, the
    // folder's lock let go.
    quitOnSignals();
    Form1 form(commandLine.options);
    if (!form.Form_Load())
        return 1;
    form.show();
    return app.exec();
}
