// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keys/modemlinesource.h"

#include <atomic>
#include <thread>

// The modem-status lines of a real serial adapter, through the kernel. The
// adapter is only opened for its lines; no byte is sent or read. DTR and RTS
// are raised to supply the key's contacts, and a thread of its own sleeps in
// TIOCMIWAIT until CTS, DSR, DCD or RI changes, stamps the moment it woke,
// reads the lines (TIOCMGET), and reads them again every confirmation time
// until two readings agree with no change counted (TIOCGICOUNT) in between.
// A driver that cannot wait for the lines is read every millisecond instead.
//
// Closing the device does not end a wait in TIOCMIWAIT, so close() wakes the
// thread with a signal (SIGRTMIN, with a handler that does nothing and no
// SA_RESTART) until it has seen the stop, and closes the device after.
class ModemLines : public ModemLineSource
{
public:
    ModemLines() = default;
    ~ModemLines() override;
    ModemLines(const ModemLines &) = delete;
    ModemLines &operator=(const ModemLines &) = delete;

    int open(const QString &device, const Sink &sink) override;
    void close() override;

private:
    void readLoop(Sink sink);

    int m_fd = -1; // written by the window's thread while no reader runs
    std::thread m_reader;
    std::atomic<bool> m_stop = false; // the window's thread asks the reader to end
    std::atomic<bool> m_stopped = false; // the reader has left its loop
};
