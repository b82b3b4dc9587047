// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/reportproblem.h"
#include "settings/settingsfile.h"
#include "window/textbox.h"

#include <QDir>

// Kilép: saves the selection and what the four parameter boxes show, then
// ends the program, with a failure status when the file could not be saved.
// The old file stays whole if the new one cannot be written.
void Form1::Command5_Click()
{
    const QByteArray bytes = settingsFileBytes(
        selectionLine(run.charslots()),
        {savedNumber(Text5->text(), run.speed()), savedNumber(Text1->text(), run.groupsize()),
         savedNumber(Text2->text(), run.groupcount()), savedNumber(Text3->text(), run.pausevalue())});
    QDir().mkpath(m_options.dataDir);
    const QString why = saveSettingsFile(settingsPath(), bytes);
    if (!why.isEmpty())
        reportProblem(tr("cannot save the settings file %1 (%2)").arg(QDir::toNativeSeparators(settingsPath()), why));
    programEnd.now(why.isEmpty() ? 0 : 1);
}
