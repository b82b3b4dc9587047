// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/codepage.h"
#include "common/quitonsignal.h"
#include "common/reportproblem.h"
#include "common/version.h"
#include "core/morseplan.h"
#include "dialogue/keyer.h"
#include "dialogue/options.h"
#include "keys/keyadapter.h"
#include "keys/keyinput.h"
#include "keys/modemlines.h"
#include "keys/quickwake.h"
#include "line/bandfile.h"
#include "line/ptyline.h"
#include "sound/player.h"
#include "window/keyerwindow.h"
#include "window/translation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRandomGenerator>
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
            reportProblem(QCoreApplication::translate("main", "%1 exists and is no link; not replacing it").arg(path));
            return false;
        }
        if (!QFile::link(device, path)) {
            reportProblem(QCoreApplication::translate("main", "cannot make the link %1").arg(path));
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

// --help, --version and a refused command line, in the terminal's language,
// which needs an application but no window.
int answerCommandLine(int argc, char *argv[], const QStringList &arguments)
{
    QCoreApplication terminal(argc, argv);
    QTranslator translator;
    QTranslator qtTranslator;
    installTranslations(translator, qtTranslator);
    const KeyerCommandLine commandLine = parseKeyerCommandLine(arguments);
    if (commandLine.action == KeyerCommandLine::Refuse) {
        reportProblem(QCoreApplication::translate("main", "%1 (try --help)").arg(commandLine.message));
        return 2;
    }
    std::fputs(qUtf8Printable(commandLine.message + QLatin1Char('\n')), stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("vestranoli-keyer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VESTRANOLI_VERSION));
    // Read before the application object exists: without a window the
    // program needs no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const KeyerCommandLine commandLine = parseKeyerCommandLine(arguments);
    if (commandLine.action != KeyerCommandLine::Run)
        return answerCommandLine(argc, argv, arguments);
    const KeyerOptions &options = commandLine.options;

    askToWakeQuickly(); // before the application object starts its threads
    std::unique_ptr<QCoreApplication> app;
    if (options.headless)
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);

    // Before anything is said: the terminal's lines in the window's language.
    QTranslator translator;
    QTranslator qtTranslator;
    installTranslations(translator, qtTranslator);
    if (!codePage1250Available()) {
        reportProblem(QCoreApplication::translate("main", "this Qt has no windows-1250 codec; the line needs it"));
        return 1;
    }

    PtyLine line;
    if (!line.open()) {
        reportProblem(
            QCoreApplication::translate("main", "cannot open a pseudo-terminal (%1)").arg(line.errorString()));
        return 1;
    }
    DeviceLink link;
    if (!options.link.isEmpty() && !link.make(options.link, line.devicePath()))
        return 1;

    Player player(options.fast ? Player::Pace::Fast : Player::Pace::RealTime, options.tone);
    if (options.fast)
        reportNews(QCoreApplication::translate("main", "fast mode; playing silently"));
    // A file size limit (ulimit -f) is a full disk to the recording: its
    // write fails and is said, rather than the signal ending the keyer.
    std::signal(SIGXFSZ, SIG_IGN);
    player.setBandSeed(options.bandSeed != 0 ? options.bandSeed : QRandomGenerator::system()->generate64());
    if (!player.start(options.wav))
        return 1;

    KeyInput keys(dotMilliseconds(options.speed), options.iambic);
    Keyer keyer(options, line, player, keys);
    // Beside the link, the band for the trainer, before the device line
    // tells anyone to start it.
    std::unique_ptr<BandFile> bandFile;
    if (!options.link.isEmpty()) {
        bandFile = std::make_unique<BandFile>(options.link + QStringLiteral(".conditions"), line.devicePath());
        bandFile->write(keyer.band());
        QObject::connect(&keyer, &Keyer::bandChanged, [&] { bandFile->write(keyer.band()); });
    }
    std::unique_ptr<KeyAdapter> adapter;
    if (!options.keyDevice.isEmpty()) {
        adapter = std::make_unique<KeyAdapter>(options.keyDevice, options.keyLines, keys,
                                               std::make_unique<ModemLines>(), player.directKey());
        adapter->start();
    }

    // A SIGTERM from whoever read the device line ends the keyer cleanly
    // (the link removed, the recording finished).
    quitOnSignals();
    // The first line is the device, for whoever starts the trainer.
    std::printf("%s\n", qUtf8Printable(line.devicePath()));
    std::fflush(stdout);

    std::unique_ptr<KeyerWindow> window;
    if (!options.headless) {
        window = std::make_unique<KeyerWindow>(keyer, player, keys, line.devicePath());
        if (adapter)
            window->showKeyAdapter(*adapter);
        window->show();
    }
    keyer.start();
    return app->exec();
}
