// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/csvexport.h"

#include "history/copyscore.h"

#include <QStringList>

#include <algorithm>

namespace {

struct Row {
    QDateTime when;
    QStringList fields;
};

// What the trainee typed may hold a comma or a quote: such a field is
// quoted, its quotes doubled. A field a spreadsheet would take for a
// formula (one starting with =, +, - or @, a training character or typed
// in a copy; or with a tab or a CR) gets a ' before it, and is quoted.
QString csvField(QString field)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    const bool formula = !field.isEmpty() && formulaStarts.contains(field.front());
    if (formula)
        field.prepend(QLatin1Char('\''));
    else if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"'))
             && !field.contains(QLatin1Char('\n')))
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// The band as BandConditions::toText() gives it; empty when not known.
QString conditionsField(const std::optional<BandConditions> &conditions)
{
    return conditions ? conditions->toText() : QString();
}

} // namespace

QByteArray historyCsv(const QList<EchoGroupRecord> &echoGroups, const QList<CopyRunRecord> &copyRuns,
                      const QTimeZone &zone)
{
    QList<Row> rows;
    for (const EchoGroupRecord &g : echoGroups) {
        rows.append({g.when,
                     {QStringLiteral("oda-vissza"), g.sent, g.decoded,
                      g.good ? QStringLiteral("1") : QStringLiteral("0"), QString::number(g.speed),
                      QString::number(g.groupsize), QString::number(g.pause), conditionsField(g.conditions)}});
    }
    for (const CopyRunRecord &run : copyRuns) {
        // A scored run: what was copied for each group, and whether it was
        // right; a copy too long to line up is left as if not scored.
        const CopyScore score = run.result ? scoreCopy(run.groups, run.result->copied) : CopyScore();
        const QList<ScoredGroup> scored = score.tooLong ? QList<ScoredGroup>() : score.groups;
        for (qsizetype g = 0; g < run.groups.size(); ++g) {
            const QString copied = g < scored.size() ? scored[g].copied : QString();
            const QString good = g >= scored.size()        ? QString()
                                 : copied == run.groups[g] ? QStringLiteral("1")
                                                           : QStringLiteral("0");
            rows.append(
                {run.when,
                 {QStringLiteral("másolás"), run.groups[g], copied, good, QString::number(run.speed),
                  QString::number(run.groupsize), QString::number(run.pause), conditionsField(run.conditions)}});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) { return a.when < b.when; });

    QString csv = QStringLiteral("idő,futás,adott,vett,jó,sebesség,betűszám,szünet,sávviszonyok\r\n");
    for (const Row &row : rows) {
        QStringList fields{row.when.toTimeZone(zone).toString(Qt::ISODate)};
        for (const QString &field : row.fields)
            fields.append(csvField(field));
        csv += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    // The byte order mark tells a spreadsheet that guesses the code page that this is UTF-8.
    return QByteArrayLiteral("\xef\xbb\xbf") + csv.toUtf8();
}
