// SPDX-License-Identifier: GPL-3.0-or-later
#include "line/bandfile.h"

#include "common/reportproblem.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

BandFile::BandFile(const QString &path, const QString &device)
    : m_path(path)
    , m_device(device)
{ }

BandFile::~BandFile()
{
    if (!m_written)
        return;
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly) && file.readLine() == deviceLine()) {
        file.close();
        file.remove();
    }
}

QByteArray BandFile::deviceLine() const
{
    return "device " + m_device.toUtf8() + '\n';
}

bool BandFile::write(const BandConditions &band)
{
    QSaveFile file(m_path);
    const QByteArray text = deviceLine() + "band " + band.toText().toUtf8() + '\n';
    if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit()) {
        m_written = true;
        m_failureSaid = false;
        return true;
    }
    if (!m_failureSaid)
        reportProblem(
            QCoreApplication::translate("BandFile", "cannot write %1 (%2); the trainer does not learn the band")
                .arg(m_path, file.errorString()));
    m_failureSaid = true;
    return false;
}
