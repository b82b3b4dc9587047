// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/modemlines.h"

#include "core/keylines.h"
#include "core/monotonicclock.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <linux/serial.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

namespace {

constexpr int watched = TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RI;
// Where the driver cannot wait for a change, how often the lines are read.
constexpr qint64 pollNs = 1'000'000;

int wakeSignal()
{
    return SIGRTMIN;
}

// Only there to interrupt the reader's ioctl: without SA_RESTART it returns
// EINTR.
void onWake(int) { }

void installWakeHandler()
{
    struct sigaction action { };
    action.sa_handler = onWake;
    sigemptyset(&action.sa_mask);
    sigaction(wakeSignal(), &action, nullptr);
}

unsigned modemLinesFrom(int bits)
{
    unsigned lines = 0;
    for (const auto &[bit, line] : {std::pair{TIOCM_CTS, Cts}, {TIOCM_DSR, Dsr}, {TIOCM_CD, Dcd}, {TIOCM_RI, Ri}}) {
        if (bits & bit)
            lines |= line;
    }
    return lines;
}

// Another signal landing on this thread must not cut the confirmation time
// short; a stop must.
void sleepUntil(qint64 ns, const std::atomic<bool> &stop)
{
    const timespec until{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR && !stop) {
    }
}

// How many changes the driver has counted on the input lines, or -1 where it
// does not count them.
long changesCounted(int fd)
{
    serial_icounter_struct count{};
    if (::ioctl(fd, TIOCGICOUNT, &count) != 0)
        return -1;
    return long(count.cts) + count.dsr + count.dcd + count.rng;
}

} // namespace

ModemLines::~ModemLines()
{
    close();
}

int ModemLines::open(const QString &device, const Sink &sink)
{
    close();
    // Non-blocking, or the open would wait for DCD; no byte is read anyway.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int bits = 0;
    int error = 0;
    const int supply = TIOCM_DTR | TIOCM_RTS;
    // Anything without modem lines (a pseudo-terminal, a file) fails here.
    if (::ioctl(fd, TIOCMGET, &bits) != 0)
        error = errno == EINVAL ? ENOTTY : errno;
    // No other program opens it while it keys (a trainer looking for its
    // keyer line on the first USB adapter would get EBUSY).
    else if (::ioctl(fd, TIOCEXCL) != 0 || ::ioctl(fd, TIOCMBIS, &supply) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        return error;
    }
    m_fd = fd;
    m_stop = false;
    m_stopped = false;
    installWakeHandler();
    m_reader = std::thread(&ModemLines::readLoop, this, sink);
    return 0;
}

void ModemLines::close()
{
    if (m_reader.joinable()) {
        m_stop = true;
        // A signal that comes just before the reader enters its wait is lost
        // on it: send it until the reader has seen the stop.
        while (!m_stopped) {
            pthread_kill(m_reader.native_handle(), wakeSignal());
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        m_reader.join();
    }
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void ModemLines::readLoop(Sink sink)
{
    bool canWait = true;
    int error = 0;
    int previous = 0;
    bool first = true;
    qint64 at = monotonicNs();
    while (!m_stop) {
        const long changesBefore = changesCounted(m_fd);
        int bits = 0;
        if (::ioctl(m_fd, TIOCMGET, &bits) != 0) {
            error = errno;
            break;
        }
        sink.reading({modemLinesFrom(bits), at});
        // TIOCMIWAIT waits for a change after it is called: one that came
        // while the lines were read (a USB adapter's TIOCMGET takes a round
        // trip) would be missed, and the key left as read until the next.
        const bool steady = !first && (bits & watched) == (previous & watched) && changesCounted(m_fd) == changesBefore;
        first = false;
        previous = bits;
        if (!steady) {
            // A second look a confirmation time later, against bounce.
            sleepUntil(at + KeyLines::confirmationNs, m_stop);
        } else if (!canWait) {
            sleepUntil(at + pollNs, m_stop);
        } else if (::ioctl(m_fd, TIOCMIWAIT, watched) != 0) {
            if (errno == EINVAL || errno == ENOTTY) {
                canWait = false;
                sink.polling();
            } else if (errno != EINTR) {
                error = errno;
                break;
            }
        }
        at = monotonicNs();
    }
    m_stopped = true;
    if (error != 0 && !m_stop)
        sink.lost(error);
}
