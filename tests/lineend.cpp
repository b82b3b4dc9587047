// SPDX-License-Identifier: GPL-3.0-or-later
#include "lineend.h"

#include "core/pseudoterminal.h"

#include <QFile>
#include <QTest>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void LineEnd::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool LineEnd::waitFor(const QByteArray &text, int count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received().count(text) >= count; }, timeoutMs);
}

bool LineEnd::waitForBytes(qsizetype count, int timeoutMs)
{
    return QTest::qWaitFor([&] { return received().size() >= count; }, timeoutMs);
}

QByteArray LineEnd::received()
{
    char buffer[256];
    for (ssize_t n; m_fd >= 0 && (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
        m_received.append(buffer, n);
        m_reads.append(QByteArray(buffer, n));
    }
    return m_received;
}

QByteArray LineEnd::takeReceived()
{
    received();
    m_reads.clear();
    return std::exchange(m_received, QByteArray());
}

PtyKeyer::PtyKeyer()
{
    QString error;
    if (const std::optional<PseudoTerminal> pty = openPseudoTerminal(&error)) {
        m_fd = pty->master;
        m_slave = pty->slave;
        m_slavePath = pty->slavePath;
    } else {
        qWarning("no pseudo-terminal: %s", qPrintable(error));
    }
}

void PtyKeyer::unplug()
{
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
    close();
}

bool PtyKeyer::send(const QByteArray &text, int timeoutMs)
{
    const int before = m_readsHandled ? m_readsHandled() : 0;
    if (m_fd < 0 || ::write(m_fd, text.constData(), size_t(text.size())) != text.size())
        return false;
    const auto drained = [&] {
        int waiting = 0;
        return (!m_readsHandled || m_readsHandled() > before) && ioctl(m_slave, FIONREAD, &waiting) == 0
               && waiting == 0;
    };
    return QTest::qWaitFor(drained, timeoutMs);
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
