// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/windowicon.h"

#include <QPixmap>

QIcon programIcon()
{
    // The 48 x 48 picture the desktop's menu shows, drawn from the same SVG.
    return QIcon(QPixmap(QStringLiteral(":/icons/hu.vestranoli.Vestranoli.png")));
}
