// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The command line. With no options the program uses the folder "Kelinor"
// (C:\Kelinor on Windows, ~/Kelinor elsewhere) and serial port 1.
struct Options {
    QString dataDir; // holds ini.txt and morse.txt
    QString portName; // empty: serial port 1
};

struct CommandLine {
    enum Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Run;
    Options options;
    QString message; // the help text, the version line, or why the line was refused
};

CommandLine parseCommandLine(const QStringList &arguments);

QString defaultDataDir();
