// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/reportproblem.h"
#include "settings/settingsfile.h"
#include "window/textbox.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

bool Form1::Form_Load()
{
    selectallstate = 0;

    if (!QDir().mkpath(m_options.dataDir))
        reportProblem(tr("cannot create the folder %1").arg(QDir::toNativeSeparators(m_options.dataDir)));
    // A second trainer here would empty this one's report and overwrite its
    // settings at exit. A lock is stale only when its trainer is gone, never
    // by age: a trainer may run for hours.
    m_folderLock.setStaleLockTime(0);
    if (!m_folderLock.tryLock()) {
        const QString folder = QDir::toNativeSeparators(m_options.dataDir);
        if (m_folderLock.error() == QLockFile::LockFailedError) {
            reportProblem(tr("another trainer is using the folder %1; not starting").arg(folder));
            messageBox.critical(this,
                                QStringLiteral("Egy másik Vestranoli már használja ezt a mappát: %1").arg(folder));
            return false;
        }
        reportProblem(tr("cannot lock the folder %1; going on without the lock").arg(folder));
    }

    // The report of the previous start is gone from here on.
    QFile report(reportPath());
    if (!report.open(QIODevice::WriteOnly | QIODevice::Truncate))
        reportProblem(tr("cannot empty the report file %1 (%2)")
                          .arg(QDir::toNativeSeparators(reportPath()), report.errorString()));
    report.close();

    MSComm1.setCommPort(1);
    MSComm1.setDeviceName(m_options.portName);
    MSComm1.setSettings(QStringLiteral("9600,N,8,1"));
    MSComm1.setRThreshold(1);
    MSComm1.setPortOpen(true);

    std::optional<StoredSettings> stored;
    QFile settingsFile(settingsPath());
    if (settingsFile.open(QIODevice::ReadOnly)) {
        stored = readSettingsFile(settingsFile);
        if (!stored)
            reportProblem(tr("the settings file %1 is incomplete; using the defaults")
                              .arg(QDir::toNativeSeparators(settingsPath())));
    } else if (settingsFile.exists()) {
        reportProblem(tr("cannot read the settings file %1 (%2); using the defaults")
                          .arg(QDir::toNativeSeparators(settingsPath()), settingsFile.errorString()));
    }
    const StartupSettings settings = settingsForStartUp(stored);

    // The counters and the texts of a run start as a new Run holds them.
    connected = false;
    run.setParameters(settings.parameters);
    Text7->setText(QString::number(run.goodgroups()));
    Text8->setText(QString::number(run.badgroups()));

    alphabet.betutar();

    if (settings.fromFile) {
        for (int k = 1; k <= 49; ++k)
            run.setSlot(k, k <= settings.selection.size() ? settings.selection[k - 1] : QLatin1Char(' '));
        tombbetolt();
    }

    setParameterBoxes();

    run.seed(quint32(QDateTime::currentMSecsSinceEpoch()));

    history.open(historyPath());
    return true;
}

void Form1::setParameterBoxes()
{
    Text1->setText(QString::number(run.groupsize()));
    Text2->setText(QString::number(run.groupcount()));
    Text3->setText(QString::number(run.pausevalue()));
    Text5->setText(QString::number(run.speed()));
}
