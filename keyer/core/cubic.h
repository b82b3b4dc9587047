// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A point `t` (0 to 1) of the way from `here` to `next` on the cubic through
// the four samples around it (Catmull-Rom): a tone brought up to a higher
// rate this way keeps no trace of the steps between the samples.
float cubicBetween(float before, float here, float next, float after, float t);
