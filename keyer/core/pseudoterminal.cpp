// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/pseudoterminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

bool makeRaw(int fd)
{
    termios settings{};
    if (tcgetattr(fd, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

std::optional<PseudoTerminal> openPseudoTerminal(QString *error)
{
    PseudoTerminal pty;
    auto fail = [&](const char *what) {
        *error = QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
        if (pty.slave >= 0)
            ::close(pty.slave);
        if (pty.master >= 0)
            ::close(pty.master);
        return std::nullopt;
    };

    pty.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0)
        return fail("posix_openpt");
    fcntl(pty.master, F_SETFL, fcntl(pty.master, F_GETFL) | O_NONBLOCK);
    fcntl(pty.master, F_SETFD, FD_CLOEXEC);
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0)
        return fail("grantpt/unlockpt");
    const char *name = ptsname(pty.master);
    if (!name)
        return fail("ptsname");
    pty.slavePath = QString::fromLocal8Bit(name);

    pty.slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pty.slave < 0)
        return fail("opening the slave");
    // Raw on both ends before a byte passes.
    if (!makeRaw(pty.slave) || !makeRaw(pty.master))
        return fail("tcsetattr");
    return pty;
}
