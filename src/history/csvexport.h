// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "history/history.h"

#include <QByteArray>
#include <QTimeZone>

// The whole history as CSV for a spreadsheet: UTF-8 with a byte order mark,
// comma-separated, CR LF line ends, a header row, then one row per group in
// time order; a field that would start a formula starts with a ' instead. A copy
// run gives one row for each of its groups, all with the run's end time;
// once scored, with what was copied for the group and whether it was right.
// The last column is the band the group was played through
// (BandConditions::toText()), empty when not known.
// Times are ISO 8601 in `zone`.
QByteArray historyCsv(const QList<EchoGroupRecord> &echoGroups, const QList<CopyRunRecord> &copyRuns,
                      const QTimeZone &zone);
