// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/bandconditions.h"

#include <QString>

#include <optional>

// The band the software keyer plays its groups through. Started with
// --link PATH, it keeps the file "PATH.conditions" beside its link, two
// lines in UTF-8:
//
//   device /dev/pts/7
//   band filter=500 snr=3 fading=10/6
//
// the pseudo-terminal the link points to and BandConditions::toText(),
// written anew each time the band changes and removed at its end.

// "<port>.conditions" beside the keyer line `port`.
QString keyerBandPath(const QString &port);

// The band of the keyer on `port`, read now; none unless the file is there,
// reads as above and names the device `port` leads to: a hardware keyer
// plays its own clean tone and writes no such file, and one left by a
// keyer that was killed names a line that is gone, or another one.
std::optional<BandConditions> keyerBand(const QString &port);
