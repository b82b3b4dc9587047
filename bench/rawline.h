// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// The trainer's end of the keyer's line, raw, for the benchmarks that play
// the trainer's side.
class RawLine
{
public:
    RawLine() = default;
    RawLine(const RawLine &) = delete;
    RawLine &operator=(const RawLine &) = delete;
    ~RawLine()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool open(const QString &device)
    {
        m_fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        termios raw{};
        if (m_fd < 0 || tcgetattr(m_fd, &raw) < 0)
            return false;
        cfmakeraw(&raw);
        return tcsetattr(m_fd, TCSANOW, &raw) == 0;
    }
    void send(const QByteArray &bytes) { (void)!::write(m_fd, bytes.constData(), size_t(bytes.size())); }
    // Reads until `text` has come, and drops what came up to its end; false
    // after `timeoutMs`.
    bool waitFor(const QByteArray &text, int timeoutMs)
    {
        QElapsedTimer waited;
        waited.start();
        while (!m_received.contains(text)) {
            if (waited.elapsed() > timeoutMs)
                return false;
            pollfd fd{m_fd, POLLIN, 0};
            if (::poll(&fd, 1, 100) > 0) {
                char bytes[256];
                const ssize_t n = ::read(m_fd, bytes, sizeof bytes);
                if (n > 0)
                    m_received.append(bytes, n);
            }
        }
        m_received.remove(0, m_received.indexOf(text) + text.size());
        return true;
    }

private:
    int m_fd = -1;
    QByteArray m_received;
};
