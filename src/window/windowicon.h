// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// The window's icon: a dot and a dash over a straight key, the same picture
// as the program's desktop entry.
QIcon programIcon();
