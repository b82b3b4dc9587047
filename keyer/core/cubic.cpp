// SPDX-License-Identifier: GPL-3.0-or-later
#include "cubic.h"

float cubicBetween(float before, float here, float next, float after, float t)
{
    return here
           + 0.5f * t
                 * (next - before
                    + t * (2 * before - 5 * here + 4 * next - after + t * (3 * (here - next) + after - before)));
}
