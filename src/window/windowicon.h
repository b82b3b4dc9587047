#pragma once

#include <QIcon>

// The window's icon: a dot and a dash over a straight key, the picture of
// the program's desktop entry.
QIcon windowIcon();
