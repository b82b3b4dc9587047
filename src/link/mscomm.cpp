// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/mscomm.h"

#include "common/codepage.h"
#include "common/reportproblem.h"
#include "link/serialportchoice.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <utility>

#ifndef Q_OS_WIN
#include <cerrno>
#include <unistd.h>
#endif

MSComm::MSComm(QObject *parent)
    : QObject(parent)
{
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    connect(&m_port, &QSerialPort::readyRead, this, [this] { dataArrived(m_port.bytesAvailable()); });
    connect(&m_port, &QSerialPort::errorOccurred, this, &MSComm::errorOccurred);
    m_retry.setInterval(1000);
    connect(&m_retry, &QTimer::timeout, this, &MSComm::tryToReopen);
}

void MSComm::setCommPort(int number)
{
    m_commPort = number;
}

void MSComm::setDeviceName(const QString &device)
{
    m_device = device;
}

QString MSComm::deviceName() const
{
    if (!m_device.isEmpty())
        return m_device;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(m_commPort);
#else
    return QStringLiteral("/dev/ttyS%1").arg(m_commPort - 1);
#endif
}

void MSComm::setSettings(const QString &settings)
{
    // The keyer speaks "baud,N,8,1"; a line with parity or other framing is
    // no keyer of ours.
    static const QRegularExpression keyerLine(QStringLiteral("^([1-9][0-9]{0,6}),N,8,1$"));
    const QRegularExpressionMatch match = keyerLine.match(settings);
    if (!match.hasMatch()) {
        reportProblem(tr("line settings \"%1\" not understood; keeping 9600,N,8,1").arg(settings));
        return;
    }
    m_port.setBaudRate(match.captured(1).toInt());
}

void MSComm::setRThreshold(int characters)
{
    m_threshold = characters;
}

void MSComm::setPortOpen(bool open)
{
    m_retry.stop();
    if (m_writer) {
        m_fakeOpen = open;
        return;
    }
    if (!open) {
        m_port.close();
        return;
    }
#ifndef Q_OS_WIN
    if (m_device.isEmpty() && m_commPort == 1) {
        const SerialPortChoice choice = firstSerialPort();
        m_device = choice.device;
        reportNews(tr("port 1 is %1, %2 (--port DEVICE chooses another)").arg(m_device, choice.kind));
    }
#endif
    if (!openLine())
        reportOpenFailure();
}

void MSComm::tryToReopen()
{
    if (!openLine())
        return;
    m_retry.stop();
    reportNews(tr("the keyer line %1 is back").arg(deviceName()));
}

bool MSComm::openLine()
{
    m_port.setPortName(deviceName());
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_lost = false;
    // Bytes that waited before the open belong to nobody.
    m_port.clear();
    // A pseudo-terminal has no modem lines; that is no reason to give up.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    return true;
}

void MSComm::reportOpenFailure()
{
    const QString device = deviceName();
#ifndef Q_OS_WIN
    // Qt says "Permission denied" both for a device the user may not use and
    // for one that another program holds; only the first needs a group, and
    // only if the group may read and write it: another user's line (a
    // software keyer's pseudo-terminal, say) is no group's to share.
    if (m_port.error() == QSerialPort::PermissionError
        && ::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        const QFileInfo line(device);
        if (line.ownerId() != ::getuid() && !line.permission(QFile::ReadGroup | QFile::WriteGroup)) {
            const QString owner = line.owner().isEmpty() ? QString::number(line.ownerId()) : line.owner();
            reportProblem(tr("cannot open the keyer line %1: it belongs to the user %2, and no group "
                             "you could join may use it (ask %2 or your administrator for it); "
                             "going on without a keyer")
                              .arg(device, owner));
            return;
        }
        QString group = line.group();
        if (group.isEmpty())
            group = QStringLiteral("dialout");
        reportProblem(tr("cannot open the keyer line %1: you are not in the group %2 "
                         "(sudo adduser $USER %2, then log out and in again); going on without a keyer")
                          .arg(device, group));
        return;
    }
#endif
    reportProblem(tr("cannot open the keyer line %1 (%2); going on without a keyer").arg(device, m_port.errorString()));
}

void MSComm::Output(char byte)
{
    if (m_writer) {
        if (m_fakeOpen)
            m_writer(byte);
        return;
    }
    if (m_port.isOpen())
        m_port.write(&byte, 1);
}

void MSComm::flush()
{
    if (m_port.isOpen())
        m_port.flush();
}

QString MSComm::Input()
{
    if (m_writer)
        return fromCodePage1250(std::exchange(m_received, {}));
    if (!m_port.isOpen())
        return {};
    return fromCodePage1250(m_port.readAll());
}

void MSComm::receive(const QByteArray &bytes)
{
    m_received += bytes;
    dataArrived(m_received.size());
}

void MSComm::dataArrived(qint64 available)
{
    if (m_threshold < 1 || available < m_threshold)
        return;
    m_event = comEvReceive;
    emit OnComm();
    m_event = comEvNone;
}

void MSComm::errorOccurred(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (m_lost)
        return;
    m_lost = true;
    m_port.close();
    // Qt's own text for this is "No such file or directory", which misleads.
    reportProblem(tr("the keyer line %1 is gone; waiting for it to come back").arg(deviceName()));
    m_retry.start();
    m_event = comEventLineLost;
    emit OnComm();
    m_event = comEvNone;
}
