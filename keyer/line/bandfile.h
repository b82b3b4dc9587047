// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"

#include <QString>

// PATH.conditions beside the --link PATH: what the trainer reads when it
// sends a group to tell the band the keyer plays it through. Two UTF-8
// lines, "device /dev/pts/7" (the line the link points to) and
// "band filter=500 snr=3" (BandConditions::toText), each written whole, so
// that a reader never finds half of one. Removed when the keyer ends, unless
// another keyer has taken the path over since.
class BandFile
{
public:
    BandFile(const QString &path, const QString &device);
    ~BandFile();
    BandFile(const BandFile &) = delete;
    BandFile &operator=(const BandFile &) = delete;

    // A failure is said once, not at every change of the band.
    bool write(const BandConditions &band);
    QString path() const { return m_path; }

private:
    QByteArray deviceLine() const;

    QString m_path;
    QString m_device;
    bool m_written = false;
    bool m_failureSaid = false;
};
