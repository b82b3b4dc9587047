// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/reportproblem.h"
#include "settings/settingsfile.h"
#include "window/textbox.h"

#include <QDir>
#include <QSaveFile>

// Kilép: saves the selection and what the four parameter boxes show, then
// ends the program, with a failure status when the file could not be saved.
// The old file stays whole if the new one cannot be written. Unbuffered, so
// that a full disk shows at write(): Qt 6.4's QSaveFile drops the error of
// the flush inside commit() and would put an empty file in its place.
void Form1::Command5_Click()
{
    const QByteArray bytes = settingsFileBytes(selectionLine(charslots),
                                               {savedNumber(Text5->text(), speed),
                                                savedNumber(Text1->text(), groupsize),
                                                savedNumber(Text2->text(), groupcount),
                                                savedNumber(Text3->text(), pausevalue)});
    QDir().mkpath(m_options.dataDir);
    QSaveFile file(settingsPath());
    const bool saved = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit();
    if (!saved)
        reportProblem(QStringLiteral("cannot save the settings file %1 (%2)")
                          .arg(QDir::toNativeSeparators(settingsPath()), file.errorString()));
    programEnd.now(saved ? 0 : 1);
}
