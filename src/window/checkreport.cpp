// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "common/reportproblem.h"
#include "runs/reportblock.h"
#include "window/textbox.h"

#include <QDir>
#include <QFile>

// Ellenörzés: appends the groups sent since the last Start to the report
// file and lists them in Text4, all 15 cells of each. A block that cannot be
// written whole is taken back out, so the file never ends in half a block;
// unbuffered, so that a full disk shows at write() and not unseen at close().
void Form1::Command4_Click()
{
    if (!keyerAnswered())
        return;
    Text4->setText(QString());
    Text6->setText(QString());

    QFile report(reportPath());
    bool written = report.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    const qint64 sizeBefore = report.size();

    for (const QString &cells : run.sentGroups()) {
        Text4->appendText(cells);
        Text6->appendText(cells);
        const QByteArray line = reportLine(Text6->text());
        written = written && report.write(line) == line.size();
        Text6->setText(QString());
        Text4->appendText(QStringLiteral("\r\n"));
    }
    const QByteArray end = reportBlockEnd();
    written = written && report.write(end) == end.size();
    if (!written) {
        reportProblem(tr("cannot write the report file %1 (%2)")
                          .arg(QDir::toNativeSeparators(reportPath()), report.errorString()));
        report.resize(sizeBefore);
    }
    report.close();
    Text6->setText(QString());
}
