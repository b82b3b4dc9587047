#include "ptykeyer.h"

#include <QTest>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

void makeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
    }
}

} // namespace

PtyKeyer::PtyKeyer()
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        return;
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        ::close(m_master);
        m_master = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(ptsname(m_master));
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    makeRaw(m_master);
    // Until the slave is raw, the line discipline would echo and translate
    // what the keyer sends.
    m_slave = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slave >= 0)
        makeRaw(m_slave);
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
