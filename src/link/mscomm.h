// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>

// The keyer line, with the few operations the window uses: choose the port,
// set "9600,N,8,1", set the receive threshold, open, write, and a receive
// event that hands over everything that has arrived.
//
// When the far end goes away Qt 6.4's serial port reports read and resource
// errors in an endless loop; the line is closed on the first of them, the
// loss is said once on stderr and raised as comEventLineLost, and writes are
// dropped until the device is back. A USB keyer that is plugged back
// reappears under the same name: while the line is lost, the device is tried
// once a second, which costs nothing worth measuring and works for any kind
// of device name.
class MSComm : public QObject
{
    Q_OBJECT

public:
    enum CommEvents { comEvNone = 0, comEvReceive = 2, comEventLineLost = 1010 };

    explicit MSComm(QObject *parent = nullptr);

    // Port 1 is COM1 on Windows; elsewhere the first serial port that is
    // there (a USB adapter before /dev/ttyS0), chosen and said on stderr when
    // the line is opened. A device name given here takes its place.
    void setCommPort(int number);
    void setDeviceName(const QString &device);
    QString deviceName() const;

    // "baud,N,8,1": the line is always 8N1, only the baud rate can change.
    // Any other text is said on stderr and changes nothing.
    void setSettings(const QString &settings);
    void setRThreshold(int characters);

    // Opens the line; on failure says why on stderr and stays closed.
    void setPortOpen(bool open);
    bool portOpen() const { return m_writer ? m_fakeOpen : m_port.isOpen(); }

    // Writes one byte; the serial port sends it with whatever follows it
    // before the next turn of the event loop.
    void Output(char byte);
    // Hands what has been written to the line at once rather than at the
    // next turn of the event loop.
    void flush();
    // Everything received and not yet taken, decoded from code page 1250.
    QString Input();

    CommEvents CommEvent() const { return m_event; }

    // A test stands in for the device: the port counts as open, every byte
    // written goes to `writer` instead, and receive() hands over one read
    // as the device would.
    void interceptWith(std::function<void(char)> writer) { m_writer = std::move(writer); }
    void receive(const QByteArray &bytes);

signals:
    void OnComm();

private:
    void reportOpenFailure();
    void dataArrived(qint64 available);
    void errorOccurred(QSerialPort::SerialPortError error);
    bool openLine();
    void tryToReopen();

    QSerialPort m_port;
    int m_commPort = 1;
    QString m_device;
    int m_threshold = 0;
    CommEvents m_event = comEvNone;
    bool m_lost = false;
    std::function<void(char)> m_writer;
    bool m_fakeOpen = false;
    QByteArray m_received; // what receive() handed over and Input() has not taken
    QTimer m_retry;
};
