// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The settings file, the report file and the keyer line all carry 8-bit text
// in code page 1250 (Á É Ö Ü are C1 C9 D6 DC).
QByteArray toCodePage1250(QStringView text);
QString fromCodePage1250(QByteArrayView bytes);

// False when this Qt build has no windows-1250 codec (it needs ICU).
bool codePage1250Available();
