// SPDX-License-Identifier: GPL-3.0-or-later
#include "line/ptyline.h"

#include "common/reportproblem.h"
#include "core/pseudoterminal.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine(QObject *parent)
    : KeyerLine(parent)
{ }

PtyLine::~PtyLine()
{
    delete m_notifier;
    delete m_watchNotifier;
    if (m_watch >= 0)
        ::close(m_watch);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyLine::open()
{
    const std::optional<PseudoTerminal> pty = openPseudoTerminal(&m_error);
    if (!pty)
        return false;
    m_master = pty->master;
    m_slave = pty->slave;
    m_devicePath = pty->slavePath;
    const QByteArray name = m_devicePath.toLocal8Bit();

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyLine::readMaster);

    // Our own open of the slave is done; every open from here on is the
    // trainer's (or another program's).
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0
        && inotify_add_watch(m_watch, name.constData(), IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) >= 0) {
        m_watchNotifier = new QSocketNotifier(m_watch, QSocketNotifier::Read);
        connect(m_watchNotifier, &QSocketNotifier::activated, this, &PtyLine::readOpensAndCloses);
    } else {
        reportProblem(tr("cannot watch %1 (%2); a trainer that closes the line and comes back will "
                         "not be noticed")
                          .arg(QFile::decodeName(name), QString::fromLocal8Bit(std::strerror(errno))));
        if (m_watch >= 0)
            ::close(m_watch);
        m_watch = -1;
    }
    return true;
}

void PtyLine::write(const QByteArray &bytes)
{
    if (m_master < 0)
        return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // The slave's queue is full: nobody has read the line for a long
        // time. What did not fit is dropped, as on a real line.
        if (!m_failed)
            reportProblem(tr("the line is not being read; dropping what the keyer sends"));
        m_failed = true;
        return;
    }
    m_failed = false;
}

int PtyLine::unread() const
{
    int waiting = 0;
    if (m_slave < 0 || ioctl(m_slave, FIONREAD, &waiting) != 0)
        return 0;
    return waiting;
}

void PtyLine::dropUnread()
{
    if (m_slave >= 0)
        tcflush(m_slave, TCIFLUSH);
}

void PtyLine::readOpensAndCloses()
{
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_watch, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_OPEN) {
                if (++m_farEndOpens == 1)
                    emit farEndOpened();
            } else if (event->mask & (IN_CLOSE_WRITE | IN_CLOSE_NOWRITE)) {
                if (m_farEndOpens > 0 && --m_farEndOpens == 0)
                    emit farEndClosed();
            } else if (event->mask & IN_Q_OVERFLOW) {
                // Lost count: only a close can tell us more now.
                m_farEndOpens = qMax(m_farEndOpens, 1);
            }
        }
    }
}

void PtyLine::readMaster()
{
    char buffer[512];
    QByteArray bytes;
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        // EIO: no slave is open. Cannot happen while we hold one, but if it
        // does, stop listening instead of spinning on it.
        reportProblem(tr("the line has gone (%1); no longer reading it")
                          .arg(n < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : tr("end of file")));
        m_notifier->setEnabled(false);
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}
