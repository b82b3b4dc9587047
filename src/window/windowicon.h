#pragma once

#include <QIcon>

// The window's 32 x 32 icon: a dot and a dash over a straight key.
QIcon windowIcon32();
