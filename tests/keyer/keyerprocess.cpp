#include "keyerprocess.h"

#include "common/frames.h"
#include "common/pseudoterminal.h"

#include <QTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

KeyerProcess::~KeyerProcess()
{
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool KeyerProcess::start(const QStringList &arguments)
{
    process.setProgram(QStringLiteral(VESTRANOLI_KEYER_PROGRAM));
    process.setArguments(arguments);
    process.start();
    if (!process.waitForStarted(5000))
        return false;
    if (!QTest::qWaitFor([&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }, 10000))
        return false;
    m_device = QString::fromLocal8Bit(process.readLine()).trimmed();
    return m_device.startsWith(QLatin1String("/dev/"));
}

QByteArray KeyerProcess::errors()
{
    m_errors += process.readAllStandardError();
    return m_errors;
}

bool KeyerProcess::waitForError(const QByteArray &text, int timeoutMs)
{
    return QTest::qWaitFor([&] { return errors().contains(text); }, timeoutMs);
}

bool KeyerProcess::stop()
{
    process.terminate();
    const bool ended = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000);
    errors();
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

TrainerLine::~TrainerLine()
{
    close();
}

void TrainerLine::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool TrainerLine::open(const QString &device)
{
    m_fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return false;
    makeRaw(m_fd);
    // What the keyer said before anybody listened, as the trainer does.
    tcflush(m_fd, TCIFLUSH);
    return true;
}

void TrainerLine::send(const QByteArray &bytes)
{
    for (const char byte : bytes)
        QVERIFY(::write(m_fd, &byte, 1) == 1);
}

bool TrainerLine::waitFor(const QByteArray &text, int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received().count(text) >= count; }, timeoutMs);
}

QByteArray TrainerLine::received()
{
    char buffer[256];
    for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
        m_received.append(buffer, n);
        m_reads.append(QByteArray(buffer, n));
    }
    return m_received;
}

QByteArray TrainerLine::takeReceived()
{
    received();
    m_reads.clear();
    return std::exchange(m_received, QByteArray());
}

bool answerKeyer(KeyerProcess &keyer, TrainerLine &trainer)
{
    if (!trainer.open(keyer.device()) || !trainer.waitFor("x"))
        return false;
    trainer.send(handshakeReply());
    if (!keyer.waitForError("the trainer answered"))
        return false;
    trainer.takeReceived();
    return true;
}
