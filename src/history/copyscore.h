// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/alignment.h"
#include "history/history.h"

#include <QString>
#include <QStringList>

// The copy as it is scored: upper case, its groups parted by single blanks
// whatever parted them when typed (blanks, tabs, line ends).
QString normalisedCopy(const QString &typed);

// One group sent and what was copied for it.
struct ScoredGroup {
    QString sent;
    QString copied;
    QList<AlignedCharacter> characters; // sent ones in order, extras where they were copied
};

// A copy lined up with the groups sent as one text, so that a group left
// out costs its own characters and not those of every later group.
struct CopyScore {
    QList<ScoredGroup> groups; // one per group sent
    CopyResult result; // to be stored; its time is not set
    int sentCharacters = 0;
    int rightCharacters = 0;
    bool tooLong = false; // beyond what the alignment takes: not scored

    double shareRight() const { return sentCharacters > 0 ? double(rightCharacters) / sentCharacters : 0.0; }
};

// A character outside the training set is kept as typed, and is wrong
// wherever it stands. A copy the alignment refuses (see alignGroups()) is
// not scored: its groups are left without what was copied.
CopyScore scoreCopy(const QStringList &sentGroups, const QString &typed);
