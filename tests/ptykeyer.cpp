#include "ptykeyer.h"

#include "common/pseudoterminal.h"

#include <QFile>
#include <QTest>

#include <sys/ioctl.h>
#include <unistd.h>

PtyKeyer::PtyKeyer()
{
    QString error;
    if (const std::optional<PseudoTerminal> pty = openPseudoTerminal(&error)) {
        m_master = pty->master;
        m_slave = pty->slave;
        m_slavePath = pty->slavePath;
    } else {
        qWarning("no pseudo-terminal: %s", qPrintable(error));
    }
}

PtyKeyer::~PtyKeyer()
{
    unplug();
}

void PtyKeyer::unplug()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = -1;
    m_master = -1;
}

bool PtyKeyer::send(const QByteArray &text, int timeoutMs)
{
    const int before = m_readsHandled ? m_readsHandled() : 0;
    if (m_master < 0 || ::write(m_master, text.constData(), size_t(text.size())) != text.size())
        return false;
    return QTest::qWaitFor(
        [&] {
            int waiting = 0;
            return (!m_readsHandled || m_readsHandled() > before) && ioctl(m_slave, FIONREAD, &waiting) == 0
                && waiting == 0;
        },
        timeoutMs);
}

void PtyKeyer::readWaiting()
{
    if (m_master < 0)
        return;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        m_received.append(buffer, n);
    }
}

bool PtyKeyer::waitForBytes(qsizetype count, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            readWaiting();
            return m_received.size() >= count;
        },
        timeoutMs);
}

QByteArray PtyKeyer::received()
{
    readWaiting();
    return m_received;
}

QByteArray PtyKeyer::takeReceived()
{
    readWaiting();
    QByteArray all = m_received;
    m_received.clear();
    return all;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
