// SPDX-License-Identifier: GPL-3.0-or-later
// The sound output's failures, as the keyer says them: PipeWire's own words
// for what went wrong, and each failure's own, never the one before's.

#include "sound/pulseoutput.h"
#include "sound/soundoutput.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <thread>

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    void pipewire_failures_are_said_in_its_words();
};

void SoundTest::pipewire_failures_are_said_in_its_words()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray socketPath = QFile::encodeName(dir.filePath(QStringLiteral("pipewire-0")));
    qputenv("VESTRANOLI_SOUND", "pipewire");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    qputenv("PIPEWIRE_RUNTIME_DIR", QFile::encodeName(dir.path()));
    qunsetenv("PIPEWIRE_REMOTE");
    const std::unique_ptr<SoundOutput> output = makeSoundOutput();
    if (dynamic_cast<PulseOutput *>(output.get()))
        QSKIP("built without PipeWire");

    // No server at all: the connection is refused at once.
    QVERIFY(!output->open(8000, 0));
    const QString noServer = output->errorString();
    QVERIFY2(noServer.startsWith(QLatin1String("connecting: ")) && noServer.size() > 12, qPrintable(noServer));

    // A server that hangs up as soon as it has taken the connection:
    // PipeWire's own words for it, and nothing of the failure before.
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
    QVERIFY(bind(listener, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0);
    QVERIFY(listen(listener, 4) == 0);
    std::thread hangUp([listener] {
        const int client = accept(listener, nullptr, nullptr);
        if (client >= 0)
            ::close(client);
    });
    const bool opened = output->open(8000, 0);
    ::shutdown(listener, SHUT_RDWR); // ends the accept() if PipeWire never came
    hangUp.join();
    ::close(listener);
    QVERIFY(!opened);
    const QString hungUp = output->errorString();
    QVERIFY2(hungUp.contains(QLatin1String("connection error")), qPrintable(hungUp));
    QVERIFY2(!hungUp.contains(noServer), qPrintable(hungUp));
}

QTEST_GUILESS_MAIN(SoundTest)
#include "tst_keyer_sound.moc"
