// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

// A pseudo-terminal pair in raw mode, both ends non-blocking: the keyer's end
// (the master) and the device a trainer opens as its serial port (the slave).
// The slave is opened here and stays open with its holder: without it the
// master sees a hang-up until somebody opens the device, and the slave falls
// back to a cooked terminal that echoes and translates what the keyer sends.
struct PseudoTerminal {
    int master = -1;
    int slave = -1;
    QString slavePath;
};

// Opens a pair; on failure closes what it opened and says why in `error`.
std::optional<PseudoTerminal> openPseudoTerminal(QString *error);

// No echo, no line editing, no CR to LF, 9600 baud: a serial line.
bool makeRaw(int fd);
