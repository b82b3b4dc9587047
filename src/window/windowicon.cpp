#include "window/windowicon.h"

#include <QPixmap>

#include "window/vestranoli.xpm"

QIcon windowIcon32()
{
    return QIcon(QPixmap(vestranoli_xpm));
}
