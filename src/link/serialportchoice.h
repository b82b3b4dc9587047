// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where serial port 1 is on a system with a device folder: the first serial
// port that is really there, a USB serial adapter before the built-in port,
// so that a trainee who starts the program from a menu finds a USB keyer
// without --port. In order: the stable names in serial/by-id, then ttyUSB*
// and ttyACM* by number, then ttyS0 (taken even when missing: opening it then
// says why). deviceRoot is "/dev", or a folder laid out like it.
struct SerialPortChoice {
    QString device; // the full path to open
    QString kind; // what it is, for the line that tells the trainee
};

SerialPortChoice firstSerialPort(const QString &deviceRoot = QStringLiteral("/dev"));
