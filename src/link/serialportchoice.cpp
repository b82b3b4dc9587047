// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serialportchoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

// The names in dir matching pattern that lead to something real: a by-id
// link to an adapter that has gone away is skipped. In name order.
QStringList present(const QString &dir, const QString &pattern)
{
    QStringList names = QDir(dir).entryList({pattern}, QDir::Files | QDir::System, QDir::Name);
    names.removeIf([&](const QString &name) { return !QFileInfo(dir + QLatin1Char('/') + name).exists(); });
    return names;
}

} // namespace

SerialPortChoice firstSerialPort(const QString &deviceRoot)
{
    const QString usbAdapter = QCoreApplication::translate("MSComm", "a USB serial adapter");
    // A by-id name is the same whichever socket the adapter is plugged into.
    const QString byId = deviceRoot + QStringLiteral("/serial/by-id");
    const QStringList ids = present(byId, QStringLiteral("*"));
    if (!ids.isEmpty())
        return {byId + QLatin1Char('/') + ids.first(), usbAdapter};

    for (const QString &pattern : {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")}) {
        QStringList names = present(deviceRoot, pattern);
        // By number: ttyUSB2 before ttyUSB10.
        std::stable_sort(names.begin(), names.end(),
                         [](const QString &a, const QString &b) { return a.size() < b.size(); });
        if (!names.isEmpty())
            return {deviceRoot + QLatin1Char('/') + names.first(), usbAdapter};
    }
    return {deviceRoot + QStringLiteral("/ttyS0"), QCoreApplication::translate("MSComm", "the built-in serial port")};
}
