// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

// Every setting of the band, for a trainee who wants more than a preset:
// noise and its SNR, the filter, fading, static crashes, up to four other
// stations and the fist of the played groups. A change is handed on at
// once (bandEdited), to be heard from the next group; a number typed counts
// when it is confirmed (Enter, Tab), not at each digit.
class BandDialog : public QDialog
{
    Q_OBJECT

public:
    explicit BandDialog(QWidget *parent = nullptr);

    // Shows the band in force, without a bandEdited.
    void setBand(const BandConditions &band);
    const BandConditions &band() const { return m_band; }

signals:
    void bandEdited(const BandConditions &band);

private:
    struct StationRow {
        QCheckBox *heard;
        QSpinBox *offset;
        QSpinBox *level;
        QSpinBox *speed;
        QComboBox *traffic;
    };

    void edited();
    void enableSettings();
    // The filter and the fading rate, as typed or chosen; none when no
    // setting.
    std::optional<double> filterChosen() const;
    std::optional<double> fadingRateChosen() const;

    QCheckBox *m_noise;
    QDoubleSpinBox *m_snr;
    QComboBox *m_filter;
    QDoubleSpinBox *m_fadingDepth;
    QComboBox *m_fadingRate;
    QSpinBox *m_crashes;
    QDoubleSpinBox *m_crashLevel;
    std::array<StationRow, BandConditions::maxOthers> m_stations;
    QDoubleSpinBox *m_jitter;
    QDoubleSpinBox *m_weight;
    BandConditions m_band; // as last shown or edited
    bool m_showing = false;
};
