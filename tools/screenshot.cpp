// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the trainer's window to a PNG file for the README:
//   vestranoli-screenshot FILE
// It starts the window on a scratch folder with no keyer, as a trainee would
// see it on a first start, ticks a few characters and grabs it.

#include "window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc != 2) {
        std::fputs("usage: vestranoli-screenshot FILE.png\n", stderr);
        return 2;
    }
    QTemporaryDir scratch;
    Form1 form({scratch.path(), QStringLiteral("/dev/null/no-keyer")});
    form.Form_Load();
    for (int n : {1, 2, 3, 4, 8})
        form.Check[n]->setChecked(true);
    form.show();
    QApplication::processEvents();
    return form.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
