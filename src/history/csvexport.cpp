#include "history/csvexport.h"

#include <QStringList>

#include <algorithm>

namespace {

struct Row {
    QDateTime when;
    QStringList fields;
};

} // namespace

QByteArray historyCsv(const QList<EchoGroupRecord> &echoGroups, const QList<CopyRunRecord> &copyRuns,
                      const QTimeZone &zone)
{
    QList<Row> rows;
    for (const EchoGroupRecord &g : echoGroups) {
        rows.append({g.when,
                     {QStringLiteral("oda-vissza"), g.sent, g.decoded, g.good ? QStringLiteral("1") : QStringLiteral("0"),
                      QString::number(g.speed), QString::number(g.groupsize), QString::number(g.pause)}});
    }
    for (const CopyRunRecord &run : copyRuns) {
        for (const QString &group : run.groups) {
            rows.append({run.when,
                         {QStringLiteral("másolás"), group, QString(), QString(), QString::number(run.speed),
                          QString::number(run.groupsize), QString::number(run.pause)}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.when < b.when; });

    QString csv = QStringLiteral("idő,futás,adott,vett,jó,sebesség,betűszám,szünet\r\n");
    for (const Row &row : rows) {
        QStringList fields{row.when.toTimeZone(zone).toString(Qt::ISODate)};
        // No field can hold a comma, a quote or a line end: groups are made of
        // training characters and "#".
        fields += row.fields;
        csv += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return csv.toUtf8();
}
