// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"
#include "common/qttranslation.h"
#include "common/quitonsignal.h"
#include "common/reportproblem.h"
#include "common/version.h"
#include "core/morseplan.h"
#include "keyadapter.h"
#include "keyer.h"
#include "keyerwindow.h"
#include "keyinput.h"
#include "modemlines.h"
#include "options.h"
#include "player.h"
#include "ptyline.h"
#include "quickwake.h"
#include "translation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

// The link from --link: made at start, removed at exit if it still points
// to this keyer's line.
class DeviceLink
{
public:
    bool make(const QString &path, const QString &device)
    {
        const QFileInfo existing(path);
        if (existing.isSymLink()) {
            QFile::remove(path); // left behind by a keyer that was killed
        } else if (existing.exists()) {
            reportProblem(QStringLiteral("%1 exists and is no link; not replacing it").arg(path));
            return false;
        }
        if (!QFile::link(device, path)) {
            reportProblem(QStringLiteral("cannot make the link %1").arg(path));
            return false;
        }
        m_path = path;
        m_device = device;
        return true;
    }
    ~DeviceLink()
    {
        if (!m_path.isEmpty() && QFileInfo(m_path).symLinkTarget() == m_device)
            QFile::remove(m_path);
    }

private:
    QString m_path;
    QString m_device;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vestranoli-keyer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESTRANOLI_VERSION));
    // Read before the application object exists: without a window the
    // program needs no display, and a refused line needs nothing at all.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const KeyerCommandLine commandLine = parseKeyerCommandLine(arguments);
    switch (commandLine.action) {
    case KeyerCommandLine::ShowHelp:
    case KeyerCommandLine::ShowVersion:
        std::fputs(qUtf8Printable(commandLine.message + QLatin1Char('\n')), stdout);
        return 0;
    case KeyerCommandLine::Refuse:
        reportProblem(commandLine.message + QStringLiteral(" (try --help)"));
        return 2;
    case KeyerCommandLine::Run:
        break;
    }

    askToWakeQuickly(); // before the application object starts its threads
    std::unique_ptr<QCoreApplication> app;
    if (commandLine.options.headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    const KeyerOptions &options = commandLine.options;
    if (!codePage1250Available()) {
        reportProblem(QStringLiteral("this Qt has no windows-1250 codec; the line needs it"));
        return 1;
    }

    PtyLine line;
    if (!line.open()) {
        reportProblem(QStringLiteral("cannot open a pseudo-terminal (%1)").arg(line.errorString()));
        return 1;
    }
    DeviceLink link;
    if (!options.link.isEmpty() && !link.make(options.link, line.devicePath()))
        return 1;

    Player player(options.fast ? Player::Pace::Fast : Player::Pace::RealTime, options.tone);
    if (options.fast)
        reportNews(QStringLiteral("fast mode; playing silently"));
    // A file size limit (ulimit -f) is a full disk to the recording: its
    // write fails and is said, rather than the signal ending the keyer.
    std::signal(SIGXFSZ, SIG_IGN);
    if (!player.start(options.wav))
        return 1;

    KeyInput keys(dotMilliseconds(options.speed), options.iambic);
    Keyer keyer(options, line, player, keys);
    std::unique_ptr<KeyAdapter> adapter;
    if (!options.keyDevice.isEmpty()) {
        adapter = std::make_unique<KeyAdapter>(options.keyDevice, options.keyLines, keys, std::make_unique<ModemLines>(),
                                               player.directKey());
        adapter->start();
    }

    // A SIGTERM from whoever read the device line ends the keyer cleanly
    // (the link removed, the recording finished).
    quitOnSignals();
    // The first line is the device, for whoever starts the trainer.
    std::printf("%s\n", qUtf8Printable(line.devicePath()));
    std::fflush(stdout);

    std::unique_ptr<KeyerWindow> window;
    QTranslator translator;
    QTranslator qtTranslator;
    if (!options.headless) {
        if (loadKeyerTranslation(translator, QLocale::system()))
            QCoreApplication::installTranslator(&translator);
        if (loadQtTranslation(qtTranslator, QLocale::system()))
            QCoreApplication::installTranslator(&qtTranslator);
        window = std::make_unique<KeyerWindow>(keyer, player, keys, line.devicePath());
        if (adapter)
            window->showKeyAdapter(*adapter);
        window->show();
    }
    keyer.start();
    return app->exec();
}
