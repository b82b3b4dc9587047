#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

// The keyer's end of the line: the master of a pseudo-terminal pair whose
// slave the trainer opens as its serial port.
//
// The slave is opened here too and held open for the keyer's whole life:
// without it the master sees a hang-up until the trainer opens the line, and
// again whenever the trainer closes it, and the slave's settings would fall
// back to a cooked terminal that echoes what the keyer writes. Holding it in
// raw mode keeps the line clean between trainers.
class PtyLine : public QObject
{
    Q_OBJECT

public:
    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    bool open();
    QString errorString() const { return m_error; }
    QString devicePath() const { return m_devicePath; }

    void write(const QByteArray &bytes);

    // Bytes written that the trainer has not read yet. A write reaches the
    // slave a moment after it is made, so right after a write this can still
    // say 0.
    int unread() const;

signals:
    void received(const QByteArray &bytes);

private:
    void readMaster();

    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
    bool m_failed = false;
};
