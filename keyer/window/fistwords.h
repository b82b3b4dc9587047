// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/fistsession.h"
#include "core/fisttiming.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringList>

// A fist's timing in a trainee's words, in the window's language: for a
// group, what it measured and what is off; for the session, the means and
// what is furthest off.
class FistWords
{
    Q_DECLARE_TR_FUNCTIONS(FistWords)

public:
    explicit FistWords(const QLocale &locale)
        : m_locale(locale)
    { }

    // "Timing: 18 letters per minute (set 20), dash 2.2 dots, ..."
    QString measures(const FistTiming &timing) const;
    // What is off, each in a sentence: "dashes short: 2.2 dots instead of 3".
    // A character's own timing is named over the session only: in one
    // group, one gap is too few to tell a fault from a slip.
    QStringList faults(const FistTiming &timing) const;
    // The session's means and spreads, the measure furthest off and the
    // characters keyed worst.
    QString session(const FistSession &session) const;

private:
    QString dots(double value) const { return m_locale.toString(value, 'f', 1); }
    QString fault(int measure, const FistMeasure &value) const;
    QString characterFault(const FistSession::CharacterFault &fault) const;

    QLocale m_locale;
};
