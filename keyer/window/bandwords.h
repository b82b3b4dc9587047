// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"

#include <QCoreApplication>
#include <QLocale>

// The band in a trainee's words, in the window's language: a preset's
// name, a fading rate, what another station sends, and in a few words what
// the groups are played through.
class BandWords
{
    Q_DECLARE_TR_FUNCTIONS(BandWords)

public:
    explicit BandWords(const QLocale &locale)
        : m_locale(locale)
    { }

    // "weak signal" for "weak"; "custom" for no preset.
    static QString presetTitle(const QString &preset);
    // "slow" and "fast" for their rates, else "12 a minute".
    QString fadingRate(double perMinute) const;
    static QString traffic(Traffic traffic);
    // "Plays: SNR 3 dB in a 500 Hz filter, fading 10 dB slow".
    QString plays(const BandConditions &band) const;

private:
    QLocale m_locale;
};
