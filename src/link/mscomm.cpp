#include "link/mscomm.h"

#include "link/codepage.h"
#include "window/platform.h"

#include <QStringList>

MSComm::MSComm(QObject *parent)
    : QObject(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, &MSComm::dataArrived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &MSComm::errorOccurred);
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

bool MSComm::setSettings(const QString &settings)
{
    const QStringList fields = settings.split(QLatin1Char(','));
    if (fields.size() != 4)
        return false;
    bool baudOk = false;
    const int baud = fields[0].trimmed().toInt(&baudOk);

    QSerialPort::Parity parity;
    const QString p = fields[1].trimmed().toUpper();
    if (p == QLatin1String("N"))
        parity = QSerialPort::NoParity;
    else if (p == QLatin1String("E"))
        parity = QSerialPort::EvenParity;
    else if (p == QLatin1String("O"))
        parity = QSerialPort::OddParity;
    else if (p == QLatin1String("M"))
        parity = QSerialPort::MarkParity;
    else if (p == QLatin1String("S"))
        parity = QSerialPort::SpaceParity;
    else
        return false;

    bool bitsOk = false;
    const int bits = fields[2].trimmed().toInt(&bitsOk);
    const QString s = fields[3].trimmed();
    QSerialPort::StopBits stopBits;
    if (s == QLatin1String("1"))
        stopBits = QSerialPort::OneStop;
    else if (s == QLatin1String("1.5"))
        stopBits = QSerialPort::OneAndHalfStop;
    else if (s == QLatin1String("2"))
        stopBits = QSerialPort::TwoStop;
    else
        return false;
    if (!baudOk || baud <= 0 || !bitsOk || bits < 5 || bits > 8)
        return false;

    m_port.setBaudRate(baud);
    m_port.setParity(parity);
    m_port.setDataBits(QSerialPort::DataBits(bits));
    m_port.setStopBits(stopBits);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void MSComm::setRThreshold(int characters)
{
    m_threshold = characters;
}

bool MSComm::setPortOpen(bool open)
{
    if (!open) {
        m_port.close();
        return true;
    }
    m_port.setPortName(deviceName());
    if (!m_port.open(QIODevice::ReadWrite)) {
        reportProblem(QStringLiteral("cannot open the keyer line %1 (%2); going on without a keyer")
                          .arg(deviceName(), m_port.errorString()));
        return false;
    }
    m_lost = false;
    // Bytes that waited before the open belong to nobody.
    m_port.clear();
    // A pseudo-terminal has no modem lines; that is no reason to give up.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    return true;
}

void MSComm::Output(char byte)
{
    if (m_port.isOpen())
        m_port.write(&byte, 1);
}

QString MSComm::Input()
{
    if (!m_port.isOpen())
        return {};
    return fromCodePage1250(m_port.readAll());
}

void MSComm::dataArrived()
{
    if (m_threshold < 1 || m_port.bytesAvailable() < m_threshold)
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
    const QString why = m_port.errorString();
    m_port.close();
    reportProblem(QStringLiteral("lost the keyer line %1 (%2); frames are no longer sent").arg(deviceName(), why));
    m_event = comEventLineLost;
    emit OnComm();
    m_event = comEvNone;
}
