#include "common/codepage.h"
#include "common/version.h"
#include "stats/statscommand.h"
#include "window/form1.h"
#include "window/options.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (isStatisticsCommand(argc, argv))
        return runStatistics(argc, argv);

    // Read before the application object exists: --help and --version need
    // no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(arguments);
    switch (commandLine.action) {
    case CommandLine::ShowHelp:
    case CommandLine::ShowVersion:
        std::fputs(qUtf8Printable(commandLine.message + QLatin1Char('\n')), stdout);
        return 0;
    case CommandLine::Refuse:
        std::fprintf(stderr, "vestranoli: %s (try --help)\n", qUtf8Printable(commandLine.message));
        return 2;
    case CommandLine::Run:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vestranoli"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vestranoli"));
    QApplication::setApplicationVersion(QStringLiteral(VESTRANOLI_VERSION));
    // The desktop entry's name, so that a Wayland desktop shows its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("hu.vestranoli.Vestranoli"));
    // Fusion shows the green of "Oda - Vissza" and "Ellenörzés" on every
    // desktop; some native styles ignore a button's back colour.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    if (!codePage1250Available()) {
        std::fputs("vestranoli: this Qt has no windows-1250 codec; the files and the keyer line need it\n", stderr);
        return 1;
    }

    Form1 form(commandLine.options);
    form.Form_Load();
    form.show();
    return app.exec();
}
