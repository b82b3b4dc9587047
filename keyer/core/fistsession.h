// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/fisttiming.h"

#include <QList>
#include <QString>

#include <optional>

// The timing of the echo groups keyed in the keyer's session: each measure's
// mean and spread, the one furthest off, the characters keyed worst, and a
// row per group for a spreadsheet.
class FistSession
{
public:
    // A group's timing; the same group again (a character keyed after it)
    // replaces what it gave.
    void add(const GroupReview &review, const FistTiming &timing);

    qsizetype groups() const { return m_groups.size(); }

    struct Spread {
        double mean = 0;
        double deviation = 0; // the standard deviation of the groups' values
        double ideal = 0;
        double allowed = 0;
        int groups = 0;
    };
    // Over the groups that have the measure (FistMeasureIndex).
    std::optional<Spread> spread(int measure) const;
    // The measure whose mean is off by the most, if any is off.
    std::optional<int> worst() const;

    // A character's dashes or gaps inside it (DashRatio or ElementGap),
    // off on the mean over the session.
    struct CharacterFault {
        QChar character;
        int measure = 0;
        FistMeasure mean;
    };
    // The characters whose timing is off, furthest first, at most `count`.
    QList<CharacterFault> furthestOff(int count) const;

    // A header, then one row per group, comma-separated, points for decimals.
    QString csv() const;

private:
    struct Group {
        int number = 0;
        QString sent;
        QString keyed;
        FistTiming timing;
    };
    QList<Group> m_groups;
};
