#include "window/windowicon.h"

QIcon windowIcon()
{
    // The 48 x 48 picture the desktop's menu shows, drawn from the same SVG.
    return QIcon(QStringLiteral(":/icons/hu.vestranoli.Vestranoli.png"));
}
